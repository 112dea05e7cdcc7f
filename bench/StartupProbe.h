#pragma once

#include "PaintClock.h"

#include <QStringList>
#include <memory>

// What a start-up benchmark program reports to bench_startup: one
// "key=value" line on standard output per figure. Times are milliseconds
// since the launcher started the process (it passes CLOCK_MONOTONIC in
// BENCH_T0_NS); peak resident memory is getrusage's ru_maxrss in KiB.
//
// Each watched widget (by object name) reports "<key>_ms" and "<key>_rss_kb"
// when its first paint has reached the screen; once all have, the program
// quits. The first expose of a platform window is reported as "step_exposed".
class StartupProbe
{
public:
    struct Mark
    {
        QString objectName;
        QString key;
    };

    explicit StartupProbe(QList<Mark> marks);
    ~StartupProbe();

private:
    class ExposeWatch;

    QList<Mark> m_marks;
    QStringList m_done;
    std::unique_ptr<PaintClock> m_clock;
    std::unique_ptr<QObject> m_exposeWatch;
};

double MsSinceLaunch();
long PeakRssKb();
// Reports "<key>_ms" and "<key>_rss_kb" now: a step of the start-up.
void ReportStep(const char* key);
