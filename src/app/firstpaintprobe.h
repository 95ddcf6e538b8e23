#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <functional>
#include <utility>

namespace quirlanto {

// Runs `work` once the watched window has been painted, on the next pass of the event loop
// (the whole window is done by then), or after fallbackMs if no paint comes (-1: no fallback).
// Goes with its parent if that ends first. Filters installed later see the paint earlier.
class AfterFirstPaint final : public QObject {
public:
    AfterFirstPaint(QWidget *watched, QObject *parent, std::function<void()> work, int fallbackMs = -1)
        : QObject(parent)
        , m_work(std::move(work))
    {
        watched->installEventFilter(this);
        if (fallbackMs >= 0)
            QTimer::singleShot(fallbackMs, this, [this] { run(); });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && m_work)
            QTimer::singleShot(0, this, [this] { run(); });
        return QObject::eventFilter(watched, event);
    }

private:
    void run()
    {
        if (!m_work)
            return;
        const auto work = std::exchange(m_work, nullptr);
        deleteLater();
        work();
    }

    std::function<void()> m_work;
};

// Prints "shown" once the window has been painted, then "settled" once the work queued behind
// that first paint (tray icon, window icon) has run, and ends the program: the start-up
// benchmark measures the time to both lines. Install it last, so it sees the paint first.
// Header-only, so the bare comparison program uses it too.
inline void installFirstPaintProbe(QWidget *window)
{
    new AfterFirstPaint(window, window, [] {
        std::fputs("shown\n", stdout);
        std::fflush(stdout);
        QTimer::singleShot(0, qApp, [] {
            std::fputs("settled\n", stdout);
            std::fflush(stdout);
            QCoreApplication::exit(0);
        });
    });
}

} // namespace quirlanto
