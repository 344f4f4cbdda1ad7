#pragma once

#include <QElapsedTimer>
#include <QEvent>
#include <QMessageBox>
#include <QTimer>
#include <vector>

/** For the window benchmarks: notes when each message box is shown and closes it at once. */
class MessageWatcher final : public QObject {
public:
    QElapsedTimer clock;              ///< started by the benchmark before the click
    std::vector<double> latenciesMs;  ///< clock's reading as each message box was shown

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Show) {
            if (auto *box = qobject_cast<QMessageBox *>(watched)) {
                latenciesMs.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
                QTimer::singleShot(0, box, &QMessageBox::accept);
            }
        }
        return false;
    }
};
