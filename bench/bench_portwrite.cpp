// Time and processor load of the port resource write sequence: 20 port writes,
// each followed by a pause of more than 10 ms that handles events meanwhile.
// The sequence must take at least 200 ms of wall time and should stay under
// 230 ms; the pauses should sleep, not spin (process CPU well under 10 % of
// the wall time).
#include "Application.h"
#include "Pause.h"
#include "PortRecorder.h"
#include "ScriptedAnswerer.h"
#include "SetupCtrls.h"
#include "template.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <benchmark/benchmark.h>
#include <chrono>
#include <sys/resource.h>

namespace {

double ProcessCpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(u.ru_utime) + seconds(u.ru_stime);
}

// Wall and CPU time of what `run` does, added up over the iterations and
// reported per iteration, with CPU as a share of wall time.
class LoadCounters
{
public:
    template <class F> void Measure(F&& run)
    {
        const auto wall0 = std::chrono::steady_clock::now();
        const double cpu0 = ProcessCpuSeconds();
        run();
        m_cpu += ProcessCpuSeconds() - cpu0;
        m_wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
    }
    void Report(benchmark::State& state) const
    {
        using benchmark::Counter;
        state.counters["wall_ms"] = Counter(m_wall * 1e3, Counter::kAvgIterations);
        state.counters["cpu_ms"] = Counter(m_cpu * 1e3, Counter::kAvgIterations);
        state.counters["cpu_pct"] = Counter(m_wall > 0 ? 100.0 * m_cpu / m_wall : 0.0);
    }

private:
    double m_wall = 0;
    double m_cpu = 0;
};

void BM_PortWriteSequence(benchmark::State& state)
{
    PortRecorder ports;
    ScriptedAnswerer boxes; // OK to every box
    TMainForm form;
    form.show();
    form.COMBasePanel->show();
    const QStringList texts = {"3F8", "2F8", "3E8", "2E8"};
    QLineEdit* const edits[] = {form.BaseEditA, form.BaseEditB, form.BaseEditC, form.BaseEditD};
    LoadCounters load;
    for (auto _ : state) {
        state.PauseTiming();
        form.ConfigButtonClick(form.ConfigButton);
        for (int i = 0; i < 4; ++i)
            edits[i]->setText(texts[i]);
        form.IRQCombo->setCurrentIndex(form.IRQCombo->findText("4"));
        ports.writes.clear();
        state.ResumeTiming();

        load.Measure([&] { form.UseButtonClick(form.UseButton); });
        if (ports.writes.size() != 20) {
            state.SkipWithError("the sequence did not make 20 writes");
            break;
        }
    }
    load.Report(state);
}
BENCHMARK(BM_PortWriteSequence)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Iterations(20);

void BM_Pause(benchmark::State& state)
{
    LoadCounters load;
    for (auto _ : state)
        load.Measure([] { PauseWithMessages(10); });
    load.Report(state);
}
BENCHMARK(BM_Pause)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Iterations(200);

} // namespace
