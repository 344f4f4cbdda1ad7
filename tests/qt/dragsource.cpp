// A window that drags the files named on its command line, as a file manager does: press the
// mouse on it and move away. For the end-to-end tests of drops.
#include <QApplication>
#include <QDrag>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

namespace {

class DragSource final : public QLabel {
public:
    explicit DragSource(QList<QUrl> urls) : QLabel(QStringLiteral("drag")), m_urls(std::move(urls)) {
        setWindowTitle(QStringLiteral("dragsource"));
        setFixedSize(120, 60);
    }

protected:
    void mousePressEvent(QMouseEvent *) override {
        auto *data = new QMimeData;
        data->setUrls(m_urls);
        auto *drag = new QDrag(this);
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction);
    }

private:
    QList<QUrl> m_urls;
};

}  // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QList<QUrl> urls;
    for (const QString &file : app.arguments().mid(1)) {
        urls << QUrl::fromLocalFile(file);
    }
    DragSource source(urls);
    source.move(0, 0);
    source.show();
    return app.exec();
}
