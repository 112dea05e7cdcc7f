#include "Application.h"

#include "ErrorDisplay.h"

#include <QAbstractEventDispatcher>
#include <QTimer>
#include <chrono>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // "Idle" is the moment the dispatcher is about to wait for new events. The
    // handler itself runs from a zero-delay timer so that it may open windows
    // or run nested loops outside the dispatcher's own callback.
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            [this] { scheduleIdle(); });
}

void TApplication::SetOnIdle(IdleEvent handler)
{
    m_onIdle = std::move(handler);
}

void TApplication::scheduleIdle()
{
    if (!m_onIdle || m_idleQueued)
        return;
    m_idleQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_idleQueued = false;
        if (!m_onIdle)
            return;
        bool done = true;
        IdleEvent handler = m_onIdle; // the handler may clear itself
        Guarded([&] { handler(this, done); });
    });
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowException(std::runtime_error("Unknown error"));
    }
    return false;
}

TApplication* TApplication::Instance() { return dynamic_cast<TApplication*>(QCoreApplication::instance()); }

void ProcessMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

std::uint32_t GetTickCount()
{
    using namespace std::chrono;
    return std::uint32_t(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
