#include "StartupProbe.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Without the launcher: the process start time the kernel keeps, in clock
// ticks since boot (10 ms steps).
long long processStartNs()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray line = stat.readAll();
    // Field 22, counted after the command name in parentheses (field 2).
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 20)
        return 0;
    const long long ticks = fields[19].toLongLong();
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const long long bootNs = now.tv_sec * 1000000000LL + now.tv_nsec;
    const long long startNs = ticks * 1000000000LL / sysconf(_SC_CLK_TCK);
    return MonotonicNs() - (bootNs - startNs);
}

} // namespace

double MsSinceLaunch()
{
    static const long long t0 = [] {
        const QByteArray given = qgetenv("BENCH_T0_NS");
        return given.isEmpty() ? processStartNs() : given.toLongLong();
    }();
    return double(MonotonicNs() - t0) / 1e6;
}

long PeakRssKb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

void ReportStep(const char* key)
{
    std::printf("%s_ms=%.3f\n%s_rss_kb=%ld\n", key, MsSinceLaunch(), key, PeakRssKb());
    std::fflush(stdout);
}

// Reports the first time a platform window is told it is on screen.
class StartupProbe::ExposeWatch : public QObject
{
public:
    ExposeWatch() { QCoreApplication::instance()->installEventFilter(this); }
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && receiver->isWindowType() &&
            static_cast<QWindow*>(receiver)->isExposed()) {
            QCoreApplication::instance()->removeEventFilter(this);
            ReportStep("step_exposed");
        }
        return false;
    }
};

StartupProbe::StartupProbe(QList<Mark> marks) : m_marks(std::move(marks))
{
    MsSinceLaunch(); // reads the start before anything else runs
    m_clock = std::make_unique<PaintClock>(
        [this](const QWidget* w) {
            for (const Mark& m : m_marks)
                if (w->objectName() == m.objectName && !m_done.contains(m.key))
                    return true;
            return false;
        },
        [this](QWidget* w) {
            for (const Mark& m : m_marks) {
                if (w->objectName() != m.objectName || m_done.contains(m.key))
                    continue;
                ReportStep(qPrintable(m.key));
                m_done.append(m.key);
            }
            if (m_done.size() == m_marks.size())
                QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        });
    m_exposeWatch = std::make_unique<ExposeWatch>();
    // A program that never paints must not hang the run.
    QTimer::singleShot(30000, qApp, [] {
        std::fprintf(stderr, "no first paint within 30 s\n");
        std::_Exit(2);
    });
}

StartupProbe::~StartupProbe() = default;
