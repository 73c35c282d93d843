#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <cstdio>
#include <ctime>
#include <utility>
#include <vector>

inline long long monotonicNowNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// The moments of start-up a probe passes, named, each as the monotonic
// clock: the launcher turns them into the time each phase took.
inline std::vector<std::pair<const char *, long long>> &startUpMarks()
{
    static std::vector<std::pair<const char *, long long>> marks;
    return marks;
}

// Marks the end of the phase `name`, the one since the mark before.
inline void markPhase(const char *name)
{
    startUpMarks().emplace_back(name, monotonicNowNs());
}

// Ends the program once the first frame of the window it watches has been
// painted. The paint event itself goes through untouched; the quit is queued
// behind it, so it runs after the whole frame, children included, has been
// painted and handed to the screen. At that moment it prints the monotonic
// clock in nanoseconds, which the launcher compares with its own reading
// taken just before it started the program, then each phase's mark.
class QuitAfterFirstPaint final : public QObject {
  public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            markPhase("to first paint event");
            QMetaObject::invokeMethod(this, &QuitAfterFirstPaint::frameDone, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    void frameDone()
    {
        std::printf("%lld\n", monotonicNowNs());
        for (const auto &[name, ns] : startUpMarks())
            std::printf("%s\t%lld\n", name, ns);
        std::fflush(stdout);
        QCoreApplication::quit();
    }

    bool painted_ = false;
};
