#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <cstdio>

namespace quirlanto {

// Prints "shown" once the watched window has been painted, then "settled" once the work queued
// behind that first paint (tray icon, window icon) has run, and ends the program: the start-up
// benchmark measures the time to both lines. Install it last, so its filter sees the paint first.
// Header-only, so the bare comparison program uses it too.
class FirstPaintProbe final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            // The whole window has been painted when the event loop next runs.
            QTimer::singleShot(0, qApp, [] {
                std::fputs("shown\n", stdout);
                std::fflush(stdout);
                QTimer::singleShot(0, qApp, [] {
                    std::fputs("settled\n", stdout);
                    std::fflush(stdout);
                    QCoreApplication::exit(0);
                });
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_done = false;
};

} // namespace quirlanto
