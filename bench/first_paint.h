#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <cstdio>
#include <ctime>

// Ends the program once the first frame of the window it watches has been
// painted. The paint event itself goes through untouched; the quit is queued
// behind it, so it runs after the whole frame, children included, has been
// painted and handed to the screen. At that moment it prints the monotonic
// clock in nanoseconds, which the launcher compares with its own reading
// taken just before it started the program.
class QuitAfterFirstPaint final : public QObject {
  public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            QMetaObject::invokeMethod(this, &QuitAfterFirstPaint::frameDone, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    void frameDone()
    {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1'000'000'000 + now.tv_nsec);
        std::fflush(stdout);
        QCoreApplication::quit();
    }

    bool painted_ = false;
};
