// In-process figures of the setup window, each measured side by side with its
// baseline in the same iterations (offscreen platform):
//
// - BM_PopupFirstShow/<ring>: the pointer enters a ring of a fresh window
//   until its pop-up window has been painted, against a bare Qt widget that
//   builds and shows a tool window with the same frame of children.
// - BM_PopupReshow/<ring>: the same for a pop-up shown before and closed.
// - BM_BoardRepaint/<0|1|2>: a repaint of the board image with the
//   stretched photograph (0: BoardImage1 of the setup window, with its rings;
//   1: a board image alone; 2: BoardImage1 painted into an image, without the
//   platform's flush), against a widget that scales the photograph on every
//   paint.
// - BM_TintLooks: the three looks of all five rings tinted (megapixels per
//   second), against copying the same pixels.
// - BM_BoardFirstPaint: grab() of a fresh window's BoardImage1, the first
//   paint that scales the photograph and renders the rings' looks, against a
//   grab() of the same image once it has been painted.
//
// The main time of each is ours; the counters give the baseline
// (base_ms / base_us) and the ratio. bench/run.sh runs them repeatedly and
// prints the medians.
#include "Application.h"
#include "JpegDecoder.h"
#include "PaintClock.h"
#include "PortRecorder.h"
#include "SetupCtrls.h"
#include "Tint.h"
#include "template.h"

#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>
#include <optional>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// Handles events until `done` holds; false when it did not within 5 s.
template <class F> bool pumpUntil(F&& done)
{
    const auto t0 = Clock::now();
    while (!done()) {
        if (msSince(t0) > 5000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return true;
}

void waitExposed(QWidget* window)
{
    if (!QTest::qWaitForWindowExposed(window))
        qWarning("%s was not exposed", qPrintable(window->windowTitle()));
}

// On a real window system the window manager maximises a window some time
// after it is first exposed; wait for the geometry to come to rest.
void settle()
{
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        QTest::qWait(300);
}

QImage cardPhoto()
{
    static const QImage photo = [] {
        QFile file(QStringLiteral(":/card.jpg"));
        return file.open(QIODevice::ReadOnly) ? DecodeJpeg(file.readAll()) : QImage();
    }();
    return photo;
}

TBoardHighlight* ring(TMainForm& form, int index)
{
    TBoardHighlight* const rings[] = {form.BaseHighlight, form.ClockHighlight, form.COMHighlight,
                                      form.DFHighlight, form.COMBaseHighlight};
    return rings[index];
}

// The setup window shown as at start-up, without the supporter's start
// routine, whose help window would come up in the middle of a figure.
std::unique_ptr<TMainForm> shownForm()
{
    auto form = std::make_unique<TMainForm>();
    if (TApplication* app = TApplication::Instance())
        app->SetOnIdle(nullptr);
    form->showMaximized();
    waitExposed(form.get());
    settle();
    pumpUntil([&] {
        for (int i = 0; i < 5; ++i)
            if (!ring(*form, i)->ImagesBuilt())
                return false;
        return true;
    });
    return form;
}

// A point of the window away from every ring and from the given window.
QPoint awayFrom(const QWidget* window, const QWidget* avoid)
{
    const QRect area = window->frameGeometry().adjusted(4, 4, -4, -4);
    for (const QPoint p : {area.bottomRight(), area.topRight(), area.bottomLeft(), area.topLeft()})
        if (!avoid || !avoid->frameGeometry().contains(p))
            return p;
    return area.center();
}

// Times the pointer entering `target` until the first paint of a window
// that `isPopup` accepts has reached the screen.
class HoverTimer
{
public:
    explicit HoverTimer(std::function<bool(const QWidget*)> isPopup)
        : m_clock([isPopup](const QWidget* w) { return w->isWindow() && isPopup(w); },
                  [this](QWidget*) {
                      if (!m_painted)
                          m_painted = Clock::now();
                  })
    {
    }

    // Milliseconds, or a negative value when nothing was painted.
    double Enter(const QWidget* target)
    {
        m_painted.reset();
        const auto t0 = Clock::now();
        QCursor::setPos(target->mapToGlobal(target->rect().center()));
        if (!pumpUntil([&] { return m_painted.has_value(); }))
            return -1;
        return std::chrono::duration<double, std::milli>(*m_painted - t0).count();
    }

private:
    std::optional<Clock::time_point> m_painted;
    PaintClock m_clock;
};

// The baseline of the pop-up figures: a bare window with a plain widget at
// the ring's place whose pointer entry shows a stay-on-top tool window made
// of what our pop-up frame holds (memo, three buttons, status strip); the
// window is built at the first entry and hidden when the pointer leaves.
class BareHover : public QWidget
{
public:
    BareHover(QRect spot, QSize popupSize) : m_popupSize(popupSize)
    {
        setWindowTitle(QStringLiteral("Bare hover"));
        Spot = new Target(this);
        Spot->setGeometry(spot);
    }
    ~BareHover() override { delete Popup; }

    class Target : public QWidget
    {
    public:
        using QWidget::QWidget;

    protected:
        void enterEvent(QEnterEvent*) override
        {
            static_cast<BareHover*>(parentWidget())->ShowPopup();
        }
        void leaveEvent(QEvent*) override
        {
            if (auto* h = static_cast<BareHover*>(parentWidget()); h->Popup)
                h->Popup->hide();
        }
    };

    QWidget* Spot = nullptr;
    QWidget* Popup = nullptr;

private:
    void ShowPopup()
    {
        if (!Popup) {
            Popup = new QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint);
            Popup->setObjectName(QStringLiteral("BarePopup"));
            Popup->resize(m_popupSize);
            const int w = m_popupSize.width();
            const int h = m_popupSize.height();
            auto* status = new QStatusBar(Popup);
            status->addWidget(new QLabel(status), 1);
            status->setGeometry(0, h - 19, w, 19);
            (new QPushButton(QStringLiteral("Previous"), Popup))->setGeometry(6, h - 44, 58, 25);
            (new QPushButton(QStringLiteral("Next"), Popup))
                ->setGeometry((w - 58) / 2, h - 44, 58, 25);
            (new QPushButton(QStringLiteral("Done"), Popup))->setGeometry(w - 64, h - 44, 58, 25);
            auto* memo = new QPlainTextEdit(Popup);
            memo->setReadOnly(true);
            memo->setPlainText(QStringLiteral("Explanatory text of the option panel."));
            memo->setGeometry(6, h - 108, w - 12, 58);
            Popup->move(mapToGlobal(Spot->geometry().bottomLeft()));
        }
        Popup->show();
        Popup->raise();
        Popup->activateWindow();
    }

    QSize m_popupSize;
};

std::unique_ptr<BareHover> shownBareHover(const TMainForm& form, const TBoardHighlight* h)
{
    const QRect spot(h->mapTo(form.window(), QPoint(0, 0)), h->size());
    const QSize popupSize = h->Popup() ? h->Popup()->size() : QSize(233, 190);
    auto bare = std::make_unique<BareHover>(spot, popupSize);
    bare->showMaximized();
    waitExposed(bare.get());
    settle();
    return bare;
}

// Ours or the bare one. One timer serves both: its event filter handles
// the windows' repaints itself, so a second one would never see them end.
bool isPopup(const QWidget* w)
{
    return dynamic_cast<const TPopupForm*>(w) || w->objectName() == QLatin1String("BarePopup");
}

// Side-by-side totals of a figure and its baseline.
struct Pair
{
    double ours = 0;
    double base = 0;
    int n = 0;

    // One iteration: ours and the baseline, in the same unit.
    void Add(double oursTime, double baseTime)
    {
        ours += oursTime;
        base += baseTime;
        ++n;
    }

    void Report(benchmark::State& state, double scale, const char* baseName)
    {
        using benchmark::Counter;
        state.counters[baseName] = Counter(n ? scale * base / n : 0);
        state.counters["ratio"] = Counter(base > 0 ? ours / base : 0);
    }
};

void BM_PopupFirstShow(benchmark::State& state)
{
    PortRecorder ports(0);
    const int index = int(state.range(0));
    HoverTimer timer(isPopup);
    QSize popupSize;
    Pair pair;
    for (auto _ : state) {
        auto form = shownForm();
        TBoardHighlight* h = ring(*form, index);
        QCursor::setPos(awayFrom(form.get(), nullptr));
        QCoreApplication::processEvents();
        const double ours = timer.Enter(h);
        if (ours < 0 || !h->Popup() || !h->Popup()->isVisible()) {
            state.SkipWithError("the pop-up did not show");
            break;
        }
        popupSize = h->Popup()->size();
        QCursor::setPos(awayFrom(form.get(), h->Popup()));
        pumpUntil([&] { return !h->Popup()->isVisible(); });

        const QRect spot(h->mapTo(form.get(), QPoint(0, 0)), h->size());
        form.reset();
        auto bare = std::make_unique<BareHover>(spot, popupSize);
        bare->showMaximized();
        waitExposed(bare.get());
        settle();
        QCursor::setPos(awayFrom(bare.get(), nullptr));
        QCoreApplication::processEvents();
        const double base = timer.Enter(bare->Spot);
        if (base < 0) {
            state.SkipWithError("the bare pop-up did not show");
            break;
        }
        QCursor::setPos(awayFrom(bare.get(), bare->Popup));
        QCoreApplication::processEvents();

        state.SetIterationTime(ours / 1e3);
        pair.Add(ours, base);
    }
    pair.Report(state, 1, "base_ms");
}
BENCHMARK(BM_PopupFirstShow)
    ->DenseRange(0, 4)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

void BM_PopupReshow(benchmark::State& state)
{
    PortRecorder ports(0);
    const int index = int(state.range(0));
    HoverTimer timer(isPopup);
    auto form = shownForm();
    TBoardHighlight* h = ring(*form, index);
    // Shown once and closed: what follows are re-shows.
    QCursor::setPos(awayFrom(form.get(), nullptr));
    QCoreApplication::processEvents();
    timer.Enter(h);
    if (!h->Popup()) {
        state.SkipWithError("the pop-up did not show");
        return;
    }
    const QPoint away = awayFrom(form.get(), h->Popup());
    QCursor::setPos(away);
    pumpUntil([&] { return !h->Popup()->isVisible(); });
    auto bare = shownBareHover(*form, h);
    timer.Enter(bare->Spot);
    QCursor::setPos(away);
    QCoreApplication::processEvents();

    // Only one of the two windows is shown at a time, so the pointer finds
    // the one being measured.
    Pair pair;
    for (auto _ : state) {
        bare->hide();
        form->showMaximized();
        waitExposed(form.get());
        settle();
        QCursor::setPos(away);
        QCoreApplication::processEvents();
        const double ours = timer.Enter(h);
        QCursor::setPos(away);
        if (ours < 0 || !pumpUntil([&] { return !h->Popup()->isVisible(); })) {
            state.SkipWithError("the pop-up did not come and go");
            break;
        }

        form->hide();
        bare->showMaximized();
        waitExposed(bare.get());
        settle();
        QCursor::setPos(away);
        QCoreApplication::processEvents();
        const double base = timer.Enter(bare->Spot);
        QCursor::setPos(away);
        if (base < 0 || !pumpUntil([&] { return !bare->Popup->isVisible(); })) {
            state.SkipWithError("the bare pop-up did not come and go");
            break;
        }

        state.SetIterationTime(ours / 1e3);
        pair.Add(ours, base);
    }
    pair.Report(state, 1, "base_ms");
}
BENCHMARK(BM_PopupReshow)
    ->DenseRange(0, 4)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(30);

// Scales the photograph into its 400 x 400 area at every paint.
class ScalingView : public QWidget
{
public:
    explicit ScalingView(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.drawImage(0, 0,
                    cardPhoto().scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
};

void BM_BoardRepaint(benchmark::State& state)
{
    PortRecorder ports(0);
    std::unique_ptr<TMainForm> form;
    std::unique_ptr<QWidget> alone;
    TBoardImage* image = nullptr;
    if (state.range(0) != 1) {
        form = shownForm();
        image = form->BoardImage1;
    } else {
        alone = std::make_unique<QWidget>();
        alone->resize(600, 500);
        image = new TBoardImage(alone.get());
        image->SetAutoSize(false);
        image->setGeometry(100, 50, 400, 400);
        image->SetPictureImage(cardPhoto());
        image->SetStretch(true);
        alone->show();
        waitExposed(alone.get());
    }
    QWidget baseWindow;
    baseWindow.resize(600, 500);
    auto* view = new ScalingView(&baseWindow);
    view->setGeometry(100, 50, 400, 400);
    baseWindow.show();
    waitExposed(&baseWindow);
    QCoreApplication::processEvents();

    // Arg 2 paints into an image instead of the window, leaving out what
    // the platform does with the window's pixels (an X server copy on xcb).
    const bool offWindow = state.range(0) == 2;
    QImage target(400, 400, QImage::Format_RGB32);
    auto paint = [&](QWidget* w) {
        if (offWindow)
            w->render(&target);
        else
            w->repaint();
    };
    Pair pair;
    for (auto _ : state) {
        auto t0 = Clock::now();
        paint(image);
        const double ours = msSince(t0);
        t0 = Clock::now();
        paint(view);
        const double base = msSince(t0);
        state.SetIterationTime(ours / 1e3);
        pair.Add(ours, base);
    }
    pair.Report(state, 1e3, "base_us");
    state.counters["speedup"] = benchmark::Counter(pair.ours > 0 ? pair.base / pair.ours : 0);
}
BENCHMARK(BM_BoardRepaint)
    ->DenseRange(0, 2)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(300);

struct RingSpec
{
    QRect bounds;
    THighlightType type;
};
// The setup window's five rings, in the board image's 400 x 400 box.
const RingSpec kRings[] = {{{32, 304, 49, 21}, htSettings},
                           {{95, 304, 13, 21}, htSettings},
                           {{5, 64, 44, 217}, htOptions},
                           {{82, 304, 13, 21}, htSettings},
                           {{156, 178, 84, 84}, htSettings}};

void BM_TintLooks(benchmark::State& state)
{
    const QImage board =
        cardPhoto().scaled(400, 400, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    struct Prepared
    {
        QImage backdrop;
        TColor color;
        float dim, bright, glow;
    };
    QList<Prepared> rings;
    long long pixels = 0;
    for (const RingSpec& r : kRings) {
        const bool options = r.type == htOptions;
        rings.append({board.copy(r.bounds), options ? TColor(0x00FF0000) : TColor(0x0000FFFF),
                      options ? 0.25f : 0.5f, options ? 0.5f : 0.75f, 1.0f});
        pixels += 3LL * r.bounds.width() * r.bounds.height();
    }
    Pair pair;
    for (auto _ : state) {
        auto t0 = Clock::now();
        for (const Prepared& r : rings) {
            QImage dim = r.backdrop, glow = r.backdrop, bright = r.backdrop;
            TintEllipse(dim, r.color, r.dim, false);
            TintEllipse(glow, r.color, r.glow, true);
            TintEllipse(bright, r.color, r.bright, false);
            benchmark::DoNotOptimize(bright.constBits());
        }
        const double ours = msSince(t0);
        t0 = Clock::now();
        for (const Prepared& r : rings) {
            for (int look = 0; look < 3; ++look) {
                QImage copy = r.backdrop;
                benchmark::DoNotOptimize(copy.bits()); // detaches: a copy of the pixels
            }
        }
        const double base = msSince(t0);
        state.SetIterationTime(ours / 1e3);
        pair.Add(ours, base);
    }
    pair.Report(state, 1e3, "base_us");
    state.counters["pixels"] = benchmark::Counter(double(pixels));
    state.counters["Mpx_per_s"] =
        benchmark::Counter(pair.ours > 0 ? double(pixels) * pair.n / (pair.ours * 1e3) : 0);
}
BENCHMARK(BM_TintLooks)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(300);

void BM_BoardFirstPaint(benchmark::State& state)
{
    PortRecorder ports(0);
    Pair pair;
    for (auto _ : state) {
        TMainForm form;
        if (TApplication* app = TApplication::Instance())
            app->SetOnIdle(nullptr);
        auto t0 = Clock::now();
        const QPixmap first = form.BoardImage1->grab();
        const double ours = msSince(t0);
        if (!form.COMBaseHighlight->ImagesBuilt()) {
            state.SkipWithError("the first grab did not render the rings");
            break;
        }
        t0 = Clock::now();
        const QPixmap again = form.BoardImage1->grab();
        const double base = msSince(t0);
        state.SetIterationTime(ours / 1e3);
        pair.Add(ours, base);
    }
    pair.Report(state, 1, "base_ms");
}
BENCHMARK(BM_BoardFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace
