#pragma once

// What the probes that time drawn frames share: waiting for the next frame, the peak memory,
// and leaving at once once the figures are out (queues may still be decoding, and tearing the
// process down under them measures nothing).
#include <QQuickWindow>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sys/resource.h>

namespace FrameProbe {

// Runs `then` after the next frame is drawn.
inline void afterNextFrame(QQuickWindow *window, std::function<void()> then)
{
    QObject::connect(window, &QQuickWindow::frameSwapped, window, std::move(then),
                     Qt::SingleShotConnection);
    window->update();
}

inline long peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

[[noreturn]] inline void finish()
{
    std::fflush(stdout);
    std::_Exit(0);
}

} // namespace FrameProbe
