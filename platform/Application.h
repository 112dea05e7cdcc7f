#pragma once

#include <QApplication>
#include <cstdint>
#include <functional>

// The application object: Qt's, plus the idle event the components expect and
// a last net for exceptions that a handler did not catch itself.
class TApplication : public QApplication
{
public:
    using IdleEvent = std::function<void(QObject* sender, bool& done)>;

    TApplication(int& argc, char** argv);

    // Runs each time the event loop has nothing left to do, until cleared.
    void SetOnIdle(IdleEvent handler);
    const IdleEvent& OnIdle() const { return m_onIdle; }

    bool notify(QObject* receiver, QEvent* event) override;

    static TApplication* Instance();

private:
    void scheduleIdle();

    IdleEvent m_onIdle;
    bool m_idleQueued = false;
};

// Handles every pending event once and returns.
void ProcessMessages();

// Milliseconds since an arbitrary start, wrapping at 2^32 like the system's
// tick count.
std::uint32_t GetTickCount();
