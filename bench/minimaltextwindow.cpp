// A second baseline: the least Qt window of Velmora's size that shows one line of Chinese in
// Velmora's font, so that the cost of loading the desktop's font database is on both sides.
#include <QApplication>
#include <QLabel>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(12);
    QApplication::setFont(font);
    QLabel window(QStringLiteral("导航背景图："));
    window.setWindowTitle(QStringLiteral("Velmora"));
    window.setFixedSize(732, 441);
    window.show();
    return QApplication::exec();
}
