#include "Pause.h"

#include "Application.h"

#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <thread>

void PauseWithMessages(std::uint32_t ms)
{
    PauseWithMessages(ms, &GetTickCount);
}

void PauseWithMessages(std::uint32_t ms, TickSource tickCount)
{
    const std::uint32_t start = tickCount();
    for (;;) {
        ProcessMessages();
        // The difference of two unsigned 32-bit readings stays right when the
        // tick count wraps at 2^32; comparing against start + ms would end
        // the pause at once, or never, near the wrap.
        const std::uint32_t elapsed = tickCount() - start;
        if (elapsed > ms)
            return;
        const auto remaining = std::chrono::milliseconds(ms - elapsed + 1);

        QEventLoop loop;
        QTimer deadline;
        deadline.setSingleShot(true);
        deadline.setTimerType(Qt::PreciseTimer);
        QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
        deadline.start(remaining);
        // A loop refuses to run once the application is quitting; sleep then,
        // so the pause still lasts its time without spinning.
        if (loop.exec() < 0)
            std::this_thread::sleep_for(remaining);
    }
}
