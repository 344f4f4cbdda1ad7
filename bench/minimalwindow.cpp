// The least Qt window of Velmora's size: the baseline for start-up time and memory.
#include <QApplication>
#include <QWidget>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Velmora"));
    window.setFixedSize(732, 441);
    window.show();
    return QApplication::exec();
}
