// A seeded "monkey": thousands of random pointer moves, clicks, key presses
// and menu choices over the whole setup window, its rings and whatever
// windows they open, with message boxes answered at random from the same
// seed. Port writes go to the simulated card, which traces them to a file.
//
// MONKEY_SEED=<n> repeats a run (the seed is printed at the start);
// MONKEY_ACTIONS=<n> sets its length (default 6000); MONKEY_VERBOSE=1 prints
// every action.
#include "Application.h"
#include "HexText.h"
#include "ScriptedAnswerer.h"
#include "SetupCtrls.h"
#include "TUpDown.h"
#include "template.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <array>
#include <memory>

namespace {

constexpr std::uint32_t kSettableBits = 0x3F0;
// A confirmed write sequence pauses some 220 ms; this many keep a run short.
constexpr int kMaxConfirmedWrites = 15;

QList<QWidget*> visibleWindows()
{
    QList<QWidget*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && !w->isMinimized())
            out.append(w);
    return out;
}

QString describe(const QWidget* w)
{
    if (!w)
        return QStringLiteral("nothing");
    QString name = w->objectName();
    if (name.isEmpty())
        name = QString::fromLatin1(w->metaObject()->className());
    if (!w->isWindow())
        name += QStringLiteral(" in ") + describe(w->window());
    return name;
}

// One run of random actions over a shown setup window.
class Monkey
{
public:
    Monkey(TMainForm& form, quint32 seed) : m_form(form), m_rng(seed)
    {
        m_rings = {form.BaseHighlight, form.ClockHighlight, form.COMHighlight, form.DFHighlight,
                   form.COMBaseHighlight};
    }

    // Answers a message box: the write question rarely and a bounded number
    // of times, the access warning half of the time, anything else at random.
    MsgBox::Result Answer(const MsgBox::Request& r)
    {
        using MsgBox::Result;
        switch (r.buttons) {
        case MsgBox::Buttons::Ok:
            return Result::Ok;
        case MsgBox::Buttons::OkCancel:
            if (r.caption == QLatin1String("Confirmation")) {
                if (m_confirmed < kMaxConfirmedWrites && m_rng.bounded(100) < 40) {
                    ++m_confirmed;
                    return Result::Ok;
                }
                return Result::Cancel;
            }
            return m_rng.bounded(2) ? Result::Ok : Result::Cancel;
        case MsgBox::Buttons::RetryCancel:
            return m_rng.bounded(2) ? Result::Retry : Result::Cancel;
        case MsgBox::Buttons::YesNo:
            return m_rng.bounded(2) ? Result::Yes : Result::No;
        }
        return Result::Ok;
    }

    int Confirmed() const { return m_confirmed; }
    const QStringList& Log() const { return m_log; }

    void Act()
    {
        const int roll = int(m_rng.bounded(100));
        if (roll < 40)
            movePointer();
        else if (roll < 65)
            click();
        else if (roll < 85)
            pressKey();
        else if (roll < 88)
            typeValue();
        else if (roll < 95)
            chooseMenuEntry();
        else if (roll < 98)
            closeWindow();
        else
            activateWindow();
    }

private:
    void note(const QString& what)
    {
        if (m_verbose)
            qInfo("%s", qPrintable(what));
        m_log.append(what);
        if (m_log.size() > 40)
            m_log.removeFirst();
    }

    QPoint pointIn(const QRect& r)
    {
        if (r.isEmpty())
            return r.topLeft();
        return r.topLeft() + QPoint(int(m_rng.bounded(r.width())), int(m_rng.bounded(r.height())));
    }

    template <class T> T pick(const QList<T>& list)
    {
        return list[int(m_rng.bounded(list.size()))];
    }

    // A visible control of a visible window, the window itself included;
    // mostly one that takes input.
    QWidget* anyVisibleControl()
    {
        const QList<QWidget*> windows = visibleWindows();
        if (windows.isEmpty())
            return nullptr;
        QWidget* window = pick(windows);
        QList<QWidget*> controls{window};
        QList<QWidget*> inputs;
        for (QWidget* c : window->findChildren<QWidget*>()) {
            if (!c->isVisible())
                continue;
            controls.append(c);
            if (qobject_cast<QAbstractButton*>(c) || qobject_cast<QLineEdit*>(c) ||
                qobject_cast<QComboBox*>(c) || qobject_cast<QAbstractItemView*>(c) ||
                dynamic_cast<TTwoJumper*>(c) || dynamic_cast<TUpDown*>(c) ||
                dynamic_cast<TBoardHighlight*>(c))
                inputs.append(c);
        }
        return !inputs.isEmpty() && m_rng.bounded(4) ? pick(inputs) : pick(controls);
    }

    void movePointer()
    {
        QPoint to;
        QString onto;
        const int kind = int(m_rng.bounded(10));
        if (kind < 3) {
            TBoardHighlight* ring = m_rings[m_rng.bounded(int(m_rings.size()))];
            to = ring->mapToGlobal(pointIn(ring->rect()));
            onto = ring->objectName();
        } else if (kind < 8) {
            QWidget* control = anyVisibleControl();
            if (!control)
                return;
            to = control->mapToGlobal(pointIn(control->rect()));
            onto = describe(control);
        } else if (kind < 9) {
            to = pointIn(m_form.frameGeometry());
            onto = QStringLiteral("the setup window");
        } else {
            to = pointIn(m_form.screen()->geometry());
            onto = QStringLiteral("the screen");
        }
        note(QStringLiteral("move to (%1, %2) over %3").arg(to.x()).arg(to.y()).arg(onto));
        QCursor::setPos(to);
    }

    // Mostly a control that takes input, reached first; else wherever the
    // pointer is.
    void click()
    {
        if (m_rng.bounded(10) < 7) {
            QWidget* control = anyVisibleControl();
            if (!control)
                return;
            const QPoint to = control->mapToGlobal(pointIn(control->rect()));
            note(QStringLiteral("move to (%1, %2) over %3")
                     .arg(to.x())
                     .arg(to.y())
                     .arg(describe(control)));
            QCursor::setPos(to);
            QCoreApplication::processEvents();
        }
        const QPoint at = QCursor::pos();
        QWidget* w = QApplication::widgetAt(at);
        if (!w)
            return;
        QWindow* window = w->window()->windowHandle();
        if (!window)
            return;
        note(QStringLiteral("click at (%1, %2) on %3").arg(at.x()).arg(at.y()).arg(describe(w)));
        QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, window->mapFromGlobal(at));
    }

    QWindow* keyWindow(QString* target)
    {
        QWidget* focus = QApplication::focusWidget();
        QWidget* window = focus ? focus->window() : QApplication::activeWindow();
        if (!window) {
            const QList<QWidget*> windows = visibleWindows();
            if (windows.isEmpty())
                return nullptr;
            window = pick(windows);
        }
        *target = describe(focus ? focus : window);
        return window->windowHandle();
    }

    void pressKey()
    {
        static const QList<Qt::Key> special = {
            Qt::Key_Backspace, Qt::Key_Up,    Qt::Key_Down,   Qt::Key_PageUp, Qt::Key_PageDown,
            Qt::Key_Return,    Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Tab,    Qt::Key_Space};
        static const QByteArray chars = "0123456789abcdefABCDEFxyzXgq";
        QString target;
        QWindow* window = keyWindow(&target);
        if (!window)
            return;
        if (m_rng.bounded(2)) {
            const Qt::Key key = pick(special);
            note(QStringLiteral("key %1 into %2").arg(int(key), 0, 16).arg(target));
            QTest::keyClick(window, key);
        } else {
            const char c = chars[int(m_rng.bounded(chars.size()))];
            note(QStringLiteral("key '%1' into %2").arg(QLatin1Char(c)).arg(target));
            QTest::keyClick(window, c);
        }
    }

    // Types a whole value into a visible line edit, as a user would: a
    // valid port or base address, or something that is not.
    void typeValue()
    {
        QList<QLineEdit*> edits;
        for (QWidget* window : visibleWindows())
            for (QLineEdit* e : window->findChildren<QLineEdit*>())
                if (e->isVisible() && e->isEnabled())
                    edits.append(e);
        if (edits.isEmpty())
            return;
        QLineEdit* edit = pick(edits);
        static const QStringList values = {"3F8", "2F8", "3E8",      "2e8",       "100", "300",
                                           "2A8", "0",   "0300",     "F8",        "3FC", "400",
                                           "xyz", "",    "FFFFFFFF", "100000000", "***"};
        const QString value = pick(values);
        note(QStringLiteral("type \"%1\" into %2").arg(value, describe(edit)));
        edit->setFocus();
        edit->selectAll();
        if (value.isEmpty())
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            QTest::keyClicks(edit, value);
    }

    void chooseMenuEntry()
    {
        static const QStringList groups = {"&Settings", "&Options", "&Calibration", "&Help"};
        QList<QAction*> entries;
        for (QAction* top : m_form.MainMenu1->actions())
            if (groups.contains(top->text()) && top->menu())
                for (QAction* a : top->menu()->actions())
                    if (!a->isSeparator() && a != m_form.Exit2)
                        entries.append(a);
        if (entries.isEmpty())
            return;
        QAction* entry = pick(entries);
        note(QStringLiteral("menu %1").arg(entry->text()));
        entry->trigger();
    }

    // The caption's close box of any window but the setup window.
    void closeWindow()
    {
        QList<QWidget*> windows = visibleWindows();
        windows.removeAll(&m_form);
        if (windows.isEmpty())
            return;
        QWidget* w = pick(windows);
        note(QStringLiteral("close %1").arg(describe(w)));
        w->close();
    }

    void activateWindow()
    {
        const QList<QWidget*> windows = visibleWindows();
        if (windows.isEmpty())
            return;
        QWidget* w = pick(windows);
        note(QStringLiteral("activate %1").arg(describe(w)));
        w->activateWindow();
    }

    TMainForm& m_form;
    QRandomGenerator m_rng;
    QList<TBoardHighlight*> m_rings;
    int m_confirmed = 0;
    QStringList m_log;
    const bool m_verbose = qEnvironmentVariableIsSet("MONKEY_VERBOSE");
};

// Empty when the six address jumpers, their mirrors and the two option
// groups agree with the texts and choices they show; else what is wrong.
QString jumperDisagreement(const TMainForm& f, std::uint32_t lastValid)
{
    std::uint32_t value = 0;
    const bool valid = TryHexToUInt(f.BaseEdit->text(), value);
    const std::uint32_t shown = (valid ? value : lastValid) & kSettableBits;
    const std::array<const TTwoJumper*, 6> address = {f.BaseJumper4A, f.BaseJumper5A,
                                                      f.BaseJumper6A, f.BaseJumper7A,
                                                      f.BaseJumper8A, f.BaseJumper9A};
    for (int k = 4; k <= 9; ++k)
        if (address[k - 4]->Closed() != ((shown & (1u << k)) == 0))
            return QStringLiteral("jumper A%1 does not match the address %2 (text \"%3\")")
                .arg(k)
                .arg(shown, 0, 16)
                .arg(f.BaseEdit->text());
    if (f.BaseJumper8B->Closed() != f.BaseJumper8A->Closed() ||
        f.BaseJumper9B->Closed() != f.BaseJumper9A->Closed() ||
        f.BaseJumper9C->Closed() != f.BaseJumper9A->Closed())
        return QStringLiteral("an A8 or A9 mirror differs from its jumper");
    const bool x8 = f.ClockCombo->currentIndex() != 0;
    if (f.ClockJumperA->Closed() != x8 || f.ClockJumperB->Closed() != x8 ||
        f.ClockJumperC->Closed() != x8)
        return QStringLiteral("the X8 jumpers do not match \"%1\"")
            .arg(f.ClockCombo->currentText());
    const bool df = f.DFCombo->currentIndex() != 0;
    if (f.DFJumperA->Closed() != df || f.DFJumperB->Closed() != df || f.DFJumperC->Closed() != df)
        return QStringLiteral("the DF jumpers do not match \"%1\"").arg(f.DFCombo->currentText());
    return {};
}

// Empty when the trace holds only the driver probe and complete, in-order
// write sequences; else the first thing wrong. Counts the sequences.
QString traceFault(const QStringList& lines, int* sequences)
{
    QList<QPair<std::uint32_t, std::uint32_t>> writes;
    for (const QString& line : lines) {
        const QStringList f = line.split(QLatin1Char(' '));
        if (f.size() == 3 && f[0] == QLatin1String("in") && f[1] == QLatin1String("0061"))
            continue;
        if (f.size() != 3 || f[0] != QLatin1String("out"))
            return QStringLiteral("unexpected port access: ") + line;
        writes.append({f[1].toUInt(nullptr, 16), f[2].toUInt(nullptr, 16)});
    }
    *sequences = int(writes.size() / 20);
    for (int i = 0; i < writes.size(); ++i) {
        const int group = i / 20;
        const int step = i % 20;
        const std::uint32_t indexPort = writes[group * 20].first;
        const std::uint32_t expectedPort = step % 2 ? indexPort + 1 : indexPort;
        if (writes[i].first != expectedPort ||
            (step % 2 == 0 && writes[i].second != std::uint32_t(step / 2 + 1)))
            return QStringLiteral("write %1 (out %2 %3) breaks sequence %4")
                .arg(i)
                .arg(writes[i].first, 4, 16, QLatin1Char('0'))
                .arg(writes[i].second, 2, 16, QLatin1Char('0'))
                .arg(group + 1);
    }
    if (writes.size() % 20 != 0)
        return QStringLiteral("an incomplete write sequence of %1 writes at the end")
            .arg(writes.size() % 20);
    return {};
}

// The offscreen platform says for every raised window and grabbed keyboard
// that it cannot; thousands of those would hide what matters.
QtMessageHandler g_testHandler = nullptr;
void dropPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (text.startsWith(QLatin1String("This plugin does not support")))
        return;
    g_testHandler(type, context, text);
}

QStringList readLines(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

class TestMonkey : public QObject
{
    Q_OBJECT
private slots:
    void randomUseKeepsJumpersAndPortWritesConsistent();
};

// Catches faults that only orders of events nobody wrote a test for reach: a
// crash, jumpers that stop following the address text or the option lists,
// an unexpected error, and write sequences that interleave or break off
// (a second write started while the first pauses).
void TestMonkey::randomUseKeepsJumpersAndPortWritesConsistent()
{
    const QByteArray seedText = qgetenv("MONKEY_SEED");
    const quint32 seed =
        seedText.isEmpty() ? QRandomGenerator::system()->generate() : seedText.toUInt();
    qInfo("MONKEY_SEED=%u", seed);
    g_testHandler = qInstallMessageHandler(dropPlatformNotes);
    const auto restoreHandler = qScopeGuard([] { qInstallMessageHandler(g_testHandler); });
    const int actions = qEnvironmentVariableIsSet("MONKEY_ACTIONS")
                            ? qEnvironmentVariableIntValue("MONKEY_ACTIONS")
                            : 6000;

    // The simulated card reads these at every call, so they are in place
    // before the window's driver probe.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString trace = dir.filePath(QStringLiteral("ports.txt"));
    qputenv("DODED32_SIM_TRACE", QFile::encodeName(trace));
    qunsetenv("DODED32_SIM_DRIVER");

    ScriptedAnswerer boxes;
    TMainForm form;
    Monkey monkey(form, seed);
    boxes.choose = [&](const MsgBox::Request& r) { return monkey.Answer(r); };
    // "&Exit" would end the run; it is the one thing the monkey never does.
    form.Exit2->setEnabled(false);
    QVERIFY2(readLines(trace).value(0).startsWith(QLatin1String("in 0061")),
             "the simulated card is not in use (LD_LIBRARY_PATH)");

    std::uint32_t lastValid = 0x300;
    connect(form.BaseEdit, &QLineEdit::textChanged, this, [&](const QString& text) {
        std::uint32_t v = 0;
        if (TryHexToUInt(text, v))
            lastValid = v;
    });

    form.showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    // Two timers take turns, so actions also happen while a write sequence
    // pauses inside the other one's action (a timer never fires inside its
    // own handler).
    int done = 0;
    QString fault;
    QEventLoop loop;
    auto step = [&] {
        if (done >= actions || !fault.isEmpty()) {
            loop.quit();
            return;
        }
        ++done;
        monkey.Act();
        const QString wrong = jumperDisagreement(form, lastValid);
        if (!wrong.isEmpty())
            fault = QStringLiteral("after action %1: %2").arg(done).arg(wrong);
    };
    QTimer first, second;
    for (QTimer* t : {&first, &second}) {
        t->setInterval(0);
        connect(t, &QTimer::timeout, this, step);
        t->start();
    }
    loop.exec();
    first.stop();
    second.stop();
    QCoreApplication::processEvents();

    const QString context = QStringLiteral("\nMONKEY_SEED=%1, last actions:\n  %2")
                                .arg(seed)
                                .arg(monkey.Log().join(QStringLiteral("\n  ")));
    QVERIFY2(fault.isEmpty(), qPrintable(fault + context));
    const QString wrong = jumperDisagreement(form, lastValid);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong + context));

    // Only the conversion error of an address that is not hexadecimal may
    // reach the error display.
    for (const MsgBox::Request& r : boxes.asked)
        if (r.icon == MsgBox::Icon::Error)
            QVERIFY2(r.text.endsWith(QLatin1String("\" is not a valid hexadecimal value.")),
                     qPrintable(QStringLiteral("unexpected error: ") + r.text + context));

    int sequences = 0;
    const QString broken = traceFault(readLines(trace), &sequences);
    QVERIFY2(broken.isEmpty(), qPrintable(broken + context));
    QCOMPARE(sequences, monkey.Confirmed());
    QMap<QString, int> captions;
    for (const MsgBox::Request& r : boxes.asked)
        ++captions[r.caption.isEmpty() ? QStringLiteral("(error)") : r.caption];
    QStringList counts;
    for (auto it = captions.cbegin(); it != captions.cend(); ++it)
        counts << QStringLiteral("%1 \"%2\"").arg(it.value()).arg(it.key());
    qInfo("%d actions, %d write sequences; boxes: %s", done, sequences,
          qPrintable(counts.join(QStringLiteral(", "))));
}

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestMonkey t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_monkey.moc"
