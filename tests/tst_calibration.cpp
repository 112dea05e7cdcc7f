#include "Application.h"
#include "ScriptedAnswerer.h"
#include "SetupCtrls.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>
#include <stdexcept>

class TestCalibration : public QObject
{
    Q_OBJECT
private slots:
    void totalFailureWithNoChannels();
    void linesInEveryDisplay();
    void oneWorkingChannelKeepsTheRunGoing();
    void retryThenCancel();
    void changeButtonsFalseKeepsTheButtons();
    void missingChannelHandler();
    void onBeginCalibRestartsTheInterval();
    void errorInsideAPass_data();
    void errorInsideAPass();
    void displayListIsBounded();
};

namespace {

// A host with two calibration displays whose run buttons read "Stop" and are
// wired to a stop handler while a run is on.
struct Host
{
    Host()
    {
        ListA = new QListWidget(&window);
        ListB = new QListWidget(&window);
        RunA = new QPushButton(QStringLiteral("Stop"), &window);
        RunB = new QPushButton(QStringLiteral("Stop"), &window);
        HideA = new QWidget(&window);
        HideB = new QWidget(&window);
        for (QPushButton* b : {RunA, RunB})
            QObject::connect(b, &QPushButton::clicked, &window, [this] { ++stopClicks; });
        sup = new TSetupSupporter(&window);
        sup->AddCalibDisplay({&ListA, &RunA, &HideA});
        sup->AddCalibDisplay({&ListB, &RunB, &HideB});
        sup->OnStartButtonClick = [this](QObject* sender) { startSenders.append(sender); };
    }

    QWidget window;
    QListWidget* ListA = nullptr;
    QListWidget* ListB = nullptr;
    QPushButton* RunA = nullptr;
    QPushButton* RunB = nullptr;
    QWidget* HideA = nullptr;
    QWidget* HideB = nullptr;
    TSetupSupporter* sup = nullptr;
    int stopClicks = 0;
    QList<QObject*> startSenders;
};

QStringList lines(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out.append(list->item(i)->text());
    return out;
}

// Checks the buttons were reset: caption "Start", the stop handler gone and
// OnStartButtonClick called with the button as sender.
void verifyReset(Host& host)
{
    for (QPushButton* b : {host.RunA, host.RunB}) {
        QCOMPARE(b->text(), QStringLiteral("Start"));
        host.startSenders.clear();
        b->click();
        QCOMPARE(host.startSenders, QList<QObject*>{b});
    }
    QCOMPARE(host.stopClicks, 0);
}

void verifyBox(const MsgBox::Request& r, const QString& text, const QString& caption,
               MsgBox::Buttons buttons, int defaultButton)
{
    QCOMPARE(r.text, text);
    QCOMPARE(r.caption, caption);
    QCOMPARE(r.buttons, buttons);
    QCOMPARE(r.defaultButton, defaultButton);
    QCOMPARE(r.icon, MsgBox::Icon::Exclamation);
    QVERIFY(r.topmost);
    QVERIFY(r.foreground);
    QVERIFY(!r.owner);
}

const QString kTotalFailure = QStringLiteral(
    "Total A/D failure. The card may not be installed, or it may be installed at a different base "
    "address.");

} // namespace

// With no channels nothing can work: no channel is asked and the pass ends in
// the total-failure box; the run is off while the box is open.
void TestCalibration::totalFailureWithNoChannels()
{
    ScriptedAnswerer boxes(MsgBox::Result::Cancel);
    Host host;
    bool calibratingAtBox = true;
    MsgBox::SetAnswerer([&](const MsgBox::Request& r) {
        boxes.asked.append(r);
        calibratingAtBox = host.sup->Calibrating() || host.sup->TimerWindow()->isActive();
        return MsgBox::Result::Cancel;
    });
    int calls = 0;
    host.sup->SetChannels(0);
    host.sup->OnGetCalibString = [&](QObject*, std::uint8_t, bool&) {
        ++calls;
        return QString();
    };
    host.sup->SetCalibrating(true);
    QVERIFY(host.sup->TimerWindow()->isActive());
    QCOMPARE(host.sup->TimerWindow()->interval(), 100);
    QTRY_COMPARE(boxes.asked.size(), 1);
    QCOMPARE(calls, 0);
    verifyBox(boxes.asked[0], kTotalFailure, QStringLiteral("Total A/D failure"),
              MsgBox::Buttons::RetryCancel, 1);
    QVERIFY(!calibratingAtBox);
    QVERIFY(!host.sup->Calibrating());
    QVERIFY(!host.sup->TimerWindow()->isActive());
    verifyReset(host);
}

// Eight channels, two displays: each pass writes "Channel N<TAB>text" into
// both lists, filling them in order and then updating in place, hides both
// controls, and reads each display's slot anew (a replaced list gets the lines).
void TestCalibration::linesInEveryDisplay()
{
    ScriptedAnswerer boxes;
    Host host;
    int pass = 0;
    QList<bool> arriving;
    host.sup->SetOnBeginCalib([&](QObject* sender) {
        QCOMPARE(sender, host.sup);
        ++pass;
    });
    host.sup->OnGetCalibString = [&](QObject* sender, std::uint8_t channel, bool& itsAllBad) {
        if (sender != host.sup)
            throw std::runtime_error("wrong sender");
        arriving.append(itsAllBad);
        itsAllBad = false;
        return QStringLiteral("pass %1 value %2").arg(pass).arg(channel);
    };
    host.window.show();
    host.sup->SetCalibrating(true);
    QTRY_COMPARE(pass, 1);
    auto expected = [&](int p) {
        QStringList l;
        for (int c = 0; c < 8; ++c)
            l.append(QStringLiteral("Channel %1\tpass %2 value %1").arg(c).arg(p));
        return l;
    };
    QCOMPARE(lines(host.ListA), expected(1));
    QCOMPARE(lines(host.ListB), expected(1));
    QVERIFY(host.HideA->isHidden() && host.HideB->isHidden());
    QCOMPARE(arriving, (QList<bool>{true, false, false, false, false, false, false, false}));

    auto* replaced = new QListWidget(&host.window);
    host.ListB = replaced;
    QTRY_COMPARE(pass, 2);
    host.sup->SetCalibrating(false);
    QCOMPARE(lines(host.ListA), expected(2));
    QCOMPARE(lines(replaced), expected(2));
    QCOMPARE(arriving.size(), 16);
    QVERIFY(arriving[8]); // ItsAllBad arrives True at the first channel of every pass
    QVERIFY(boxes.asked.isEmpty());
    host.window.hide();
}

// One working channel is enough: no box, the run goes on. Also runs with no
// displays at all.
void TestCalibration::oneWorkingChannelKeepsTheRunGoing()
{
    ScriptedAnswerer boxes;
    TSetupSupporter sup(nullptr);
    int passes = 0;
    sup.SetOnBeginCalib([&](QObject*) { ++passes; });
    sup.OnGetCalibString = [](QObject*, std::uint8_t channel, bool& itsAllBad) {
        if (channel == 3)
            itsAllBad = false;
        return QStringLiteral("x");
    };
    sup.SetCalibrating(true);
    QTRY_COMPARE(passes, 3);
    QVERIFY(boxes.asked.isEmpty());
    QVERIFY(sup.Calibrating());
    QVERIFY(sup.TimerWindow()->isActive());
}

// Every pass failing: Retry three times gives three more passes, Cancel then
// resets the buttons and ends the run.
void TestCalibration::retryThenCancel()
{
    ScriptedAnswerer boxes(MsgBox::Result::Cancel);
    for (int i = 0; i < 3; ++i)
        boxes.answers.enqueue(MsgBox::Result::Retry);
    Host host;
    int passes = 0;
    host.sup->SetOnBeginCalib([&](QObject*) { ++passes; });
    host.sup->OnGetCalibString = [](QObject*, std::uint8_t, bool&) {
        return QStringLiteral("bad");
    };
    host.sup->SetCalibrating(true);
    QTRY_COMPARE(boxes.asked.size(), 4);
    QVERIFY(!host.sup->Calibrating());
    QVERIFY(!host.sup->TimerWindow()->isActive());
    QCOMPARE(passes, 4);
    QCOMPARE(lines(host.ListA).size(), 8);
    verifyReset(host);
}

// ChangeButtons false: a failed run ends, but the buttons keep caption and handler.
void TestCalibration::changeButtonsFalseKeepsTheButtons()
{
    ScriptedAnswerer boxes(MsgBox::Result::Cancel);
    Host host;
    host.sup->SetChangeButtons(false);
    host.sup->OnGetCalibString = [](QObject*, std::uint8_t, bool&) { return QString(); };
    host.sup->SetCalibrating(true);
    QTRY_COMPARE(boxes.asked.size(), 1);
    QVERIFY(!host.sup->Calibrating());
    QCOMPARE(host.RunA->text(), QStringLiteral("Stop"));
    host.RunA->click();
    QCOMPARE(host.stopClicks, 1);
    QVERIFY(host.startSenders.isEmpty());
}

// Without a channel handler the run ends at once with its box, after
// OnBeginCalib and before anything is hidden; the buttons are reset.
void TestCalibration::missingChannelHandler()
{
    ScriptedAnswerer boxes;
    Host host;
    int begins = 0;
    host.sup->SetOnBeginCalib([&](QObject*) { ++begins; });
    host.window.show();
    host.sup->SetCalibrating(true);
    QTRY_COMPARE(boxes.asked.size(), 1);
    verifyBox(boxes.asked[0],
              QStringLiteral("Error: calibration begun, but OnGetCalibString isn't assigned."),
              QStringLiteral("OnGetCalibString Not Assigned"), MsgBox::Buttons::Ok, 0);
    QCOMPARE(begins, 1);
    QVERIFY(!host.sup->Calibrating());
    QVERIFY(!host.HideA->isHidden());
    verifyReset(host);
    host.window.hide();
}

// Assigning OnBeginCalib restarts the running interval, and starts nothing
// when no run is on.
void TestCalibration::onBeginCalibRestartsTheInterval()
{
    ScriptedAnswerer boxes;
    TSetupSupporter sup(nullptr);
    sup.SetOnBeginCalib([](QObject*) {});
    QVERIFY(!sup.TimerWindow()->isActive());

    sup.OnGetCalibString = [](QObject*, std::uint8_t, bool& itsAllBad) {
        itsAllBad = false;
        return QString();
    };
    sup.SetCalibrating(true);
    QTRY_VERIFY(sup.TimerWindow()->remainingTime() < 40);
    sup.SetOnBeginCalib([](QObject*) {});
    QVERIFY(sup.TimerWindow()->isActive());
    QVERIFY(sup.TimerWindow()->remainingTime() > 60);
}

// An error inside a pass goes to the default error display and leaves the run
// on; no pass runs while that box is open.
void TestCalibration::errorInsideAPass_data()
{
    QTest::addColumn<bool>("listRefuses");
    QTest::newRow("handler raises") << false;
    QTest::newRow("result list refuses a line") << true;
}

void TestCalibration::errorInsideAPass()
{
    QFETCH(bool, listRefuses);
    ScriptedAnswerer boxes;
    Host host;
    int passes = 0;
    int passesWhileBoxOpen = 0;
    MsgBox::SetAnswerer([&](const MsgBox::Request& r) {
        boxes.asked.append(r);
        const int before = passes;
        QTest::qWait(250); // the box stays open, dispatching timer messages
        passesWhileBoxOpen += passes - before;
        return MsgBox::Result::Ok;
    });
    host.sup->SetOnBeginCalib([&](QObject*) { ++passes; });
    host.sup->OnGetCalibString = [&](QObject*, std::uint8_t channel, bool& itsAllBad) {
        itsAllBad = false;
        if (channel == 2) {
            // Re-assigning OnBeginCalib restarts the timer: a fresh timer is
            // pending while the error box is open.
            host.sup->SetOnBeginCalib(host.sup->OnBeginCalib());
            if (!listRefuses)
                throw std::runtime_error("A/D converter not responding");
            host.ListA->clear(); // line 2 now lies beyond the end
        }
        return QStringLiteral("ok");
    };
    host.sup->SetCalibrating(true);
    QTRY_VERIFY(boxes.asked.size() >= 1);
    QVERIFY(host.sup->Calibrating());
    QVERIFY(host.sup->TimerWindow()->isActive());
    host.sup->SetCalibrating(false);
    const MsgBox::Request& r = boxes.asked[0];
    QCOMPARE(r.icon, MsgBox::Icon::Error);
    QCOMPARE(r.buttons, MsgBox::Buttons::Ok);
    QCOMPARE(r.text, listRefuses ? QStringLiteral("List index out of bounds (2)")
                                 : QStringLiteral("A/D converter not responding"));
    QCOMPARE(passesWhileBoxOpen, 0);
}

// At most 256 displays are kept.
void TestCalibration::displayListIsBounded()
{
    TSetupSupporter sup(nullptr);
    for (int i = 0; i < TSetupSupporter::MaxCalibDisplays; ++i)
        QVERIFY(sup.AddCalibDisplay({}));
    QVERIFY(!sup.AddCalibDisplay({}));
    QCOMPARE(sup.CalibDisplays().size(), 256);
}

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestCalibration t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_calibration.moc"
