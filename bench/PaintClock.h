#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

// Tells when a watched widget's paint has reached the screen: the moment the
// window that painted it has finished that repaint (every widget of the
// window painted and the backing store handed to the platform).
//
// Installed as an application event filter. Paint events of the widgets that
// `watch` accepts are noted; events of platform windows, and update requests
// of top-level widgets, are handled inside the filter so that the moment
// after them can be taken. Benchmarks only: it changes nothing else of the
// delivery.
class PaintClock : public QObject
{
public:
    using Watch = std::function<bool(const QWidget*)>;
    using Painted = std::function<void(QWidget* widget)>;

    PaintClock(Watch watch, Painted painted);
    ~PaintClock() override;

    bool eventFilter(QObject* receiver, QEvent* event) override;

private:
    void reportPainted();

    Watch m_watch;
    Painted m_painted;
    QList<QPointer<QWidget>> m_pending;
    int m_depth = 0;
};

// CLOCK_MONOTONIC in nanoseconds.
long long MonotonicNs();
