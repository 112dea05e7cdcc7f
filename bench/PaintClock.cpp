#include "PaintClock.h"

#include <QCoreApplication>
#include <QEvent>
#include <ctime>
#include <utility>

long long MonotonicNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

PaintClock::PaintClock(Watch watch, Painted painted)
    : m_watch(std::move(watch)), m_painted(std::move(painted))
{
    QCoreApplication::instance()->installEventFilter(this);
}

PaintClock::~PaintClock()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

bool PaintClock::eventFilter(QObject* receiver, QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        if (receiver->isWidgetType() && m_watch(static_cast<QWidget*>(receiver)))
            m_pending.append(static_cast<QWidget*>(receiver));
        return false;
    }
    // A window's repaint runs inside an expose or update request delivered to
    // its platform window, or an update request posted to its top-level
    // widget. Handle the outermost such event here, then report.
    const bool repaintCarrier =
        receiver->isWindowType() ||
        (event->type() == QEvent::UpdateRequest && receiver->isWidgetType() &&
         static_cast<QWidget*>(receiver)->isWindow());
    if (!repaintCarrier || m_depth > 0)
        return false;
    ++m_depth;
    struct Leave
    {
        int& depth;
        ~Leave() { --depth; }
    } leave{m_depth};
    // QObject::event is public; the receiver handles the event as usual.
    static_cast<QObject*>(receiver)->event(event);
    reportPainted();
    return true;
}

void PaintClock::reportPainted()
{
    const QList<QPointer<QWidget>> painted = std::exchange(m_pending, {});
    for (const QPointer<QWidget>& w : painted)
        if (w)
            m_painted(w);
}
