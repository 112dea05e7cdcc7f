#include "Application.h"
#include "Pause.h"
#include "PortRecorder.h"
#include "ScriptedAnswerer.h"
#include "SetupCtrls.h"
#include "TUpDown.h"
#include "template.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using Writes = QList<QPair<std::uint32_t, std::uint8_t>>;

class TestPortResources : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void layoutOrderCaptionsAndTabChain();
    void writeSequence_data();
    void writeSequence();
    void configureResetsEntriesAndUseNamesPortA();
    void configureRefused_data();
    void configureRefused();
    void useChecks_data();
    void useChecks();
    void typing_data();
    void typing();
    void stepping_data();
    void stepping();
    void secondConfigureAfterWriteStartsAfresh();
    void sequenceStaysResponsiveAndPaced();
    void secondPressDuringSequenceStartsNothing();
    void windowDestroyedDuringSequence();
    void pause_data();
    void pause();
};

namespace {

const QString kAccessWarning = QStringLiteral(
    "The setup program will now try to access the card. Only continue if the base address has "
    "been set correctly(Settings | Base Address) and the card is installed.");
const QString kQuestion = QStringLiteral(
    "The setup program will now write the port resources. If they conflict with another device "
    "in your system, neither may function once the DF jumper is removed. Are you sure you want "
    "to use these resources?");
const QString kWritten = QStringLiteral(
    "The resources have been written to the card. You will now need to shut down the stack, "
    "remove the DF jumper, and start back up. Your card will then be ready for use!");

// The setup window with the port resources panel shown on it, port writes
// recorded with the tick count of each, message boxes scripted.
struct Fixture
{
    PortRecorder ports;
    ScriptedAnswerer boxes;
    QList<std::uint32_t> writeTicks;
    std::function<void()> onWrite; // runs after each recorded write
    QPointer<TMainForm> form = new TMainForm;

    Fixture()
    {
        PortIo().OutPortB = [this, record = PortIo().OutPortB](std::uint32_t p, std::uint8_t v) {
            writeTicks.append(GetTickCount());
            record(p, v);
            if (onWrite)
                onWrite();
        };
        form->show();
        form->COMBasePanel->show();
        if (!QTest::qWaitForWindowExposed(form))
            qWarning("setup window not exposed");
    }
    ~Fixture() { delete form; }

    QLineEdit* edit(int i) const
    {
        return QList<QLineEdit*>{form->BaseEditA, form->BaseEditB, form->BaseEditC,
                                 form->BaseEditD}[i];
    }
    TUpDown* upDown(int i) const
    {
        return QList<TUpDown*>{form->BaseUDA, form->BaseUDB, form->BaseUDC, form->BaseUDD}[i];
    }

    // "Configure Port Resources..." answered OK.
    void configure()
    {
        boxes.answers.enqueue(MsgBox::Result::Ok);
        QTest::mouseClick(form->ConfigButton, Qt::LeftButton);
    }
    void enter(const QStringList& texts, const QString& irq)
    {
        for (int i = 0; i < 4; ++i)
            edit(i)->setText(texts[i]);
        form->IRQCombo->setCurrentIndex(form->IRQCombo->findText(irq));
    }
    void use() { QTest::mouseClick(form->UseButton, Qt::LeftButton); }

    bool inEntry() const { return !form->UseButton->isHidden() && form->ConfigButton->isHidden(); }
    bool inIdle() const { return form->UseButton->isHidden() && !form->ConfigButton->isHidden(); }
};

Writes sequence(std::uint32_t base, const QList<int>& values)
{
    Writes w;
    for (int i = 0; i < values.size(); ++i)
        w << qMakePair(base + 1, std::uint8_t(i + 1))
          << qMakePair(base + 2, std::uint8_t(values[i]));
    return w;
}

const QStringList kPorts = {"3F8", "2F8", "3E8", "2E8"};
const QList<int> kRegisters = {0x7F, 0x5F, 0x7D, 0x5D, 0, 0, 0, 0, 4, 0};

std::uint32_t g_tickOffset = 0;
std::uint32_t OffsetTicks()
{
    return GetTickCount() + g_tickOffset;
}

} // namespace

void TestPortResources::cleanup()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    QTRY_VERIFY(
        std::none_of(windows.cbegin(), windows.cend(), [](QWidget* w) { return w->isVisible(); }));
}

// A child created out of order stacks or tabs wrongly; a caption typed wrong
// shows the user a different text; an entry control shown at start lets the
// user type before configuring.
void TestPortResources::layoutOrderCaptionsAndTabChain()
{
    Fixture f;
    QStringList names;
    for (QWidget* w : f.form->COMBasePanel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        names << w->objectName();
    QCOMPARE(names, QStringList({"Label3", "Label4", "Label5", "Label6", "Label16", "Label19",
                                 "DittoLabel", "BaseEditA", "BaseUDA", "BaseEditB", "BaseUDB",
                                 "BaseEditC", "BaseUDC", "BaseEditD", "BaseUDD", "IRQCombo",
                                 "ConfigButton", "UseButton"}));
    const QList<QPair<QLabel*, QString>> labels = {
        {f.form->Label3, "A"},          {f.form->Label4, "B"},
        {f.form->Label5, "C"},          {f.form->Label6, "D"},
        {f.form->Label16, "I/O Addr."}, {f.form->Label19, "IRQ (All)"},
        {f.form->DittoLabel, ".\n.\n."}};
    for (const auto& [label, caption] : labels)
        QCOMPARE(label->text(), caption);
    QVERIFY(f.form->DittoLabel->font().bold());
    QCOMPARE(f.form->ConfigButton->text(), QStringLiteral("Configure Port Resources..."));
    QCOMPARE(f.form->UseButton->text(), QStringLiteral("Use These Resources"));
    QStringList irqs;
    for (int i = 0; i < f.form->IRQCombo->count(); ++i)
        irqs << f.form->IRQCombo->itemText(i);
    QCOMPARE(irqs, QStringList({"2", "3", "4", "5", "6", "7", "A", "B", "C", "F"}));
    QCOMPARE(f.form->IRQCombo->currentIndex(), -1);
    for (QWidget* w : f.form->COMBasePanel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        QCOMPARE(w->isHidden(), w != f.form->ConfigButton);

    QStringList chain;
    QWidget* w = f.form->BaseEditA;
    do {
        if (w->parentWidget() == f.form->COMBasePanel && (w->focusPolicy() & Qt::TabFocus))
            chain << w->objectName();
        w = w->nextInFocusChain();
    } while (w != f.form->BaseEditA);
    QCOMPARE(chain,
             QStringList({"BaseEditA", "BaseUDA", "BaseEditB", "BaseUDB", "BaseEditC", "BaseUDC",
                          "BaseEditD", "BaseUDD", "ConfigButton", "IRQCombo", "UseButton"}));
}

// The card's registers take exactly these index/data pairs in this order, at
// the control base confirmed when configuring: a wrong value, order, port or
// 16-bit wrap programs the card wrongly.
void TestPortResources::writeSequence_data()
{
    QTest::addColumn<QString>("baseAtConfigure");
    QTest::addColumn<QString>("baseAtUse");
    QTest::addColumn<QString>("irq");
    QTest::addColumn<quint32>("base");
    QTest::addColumn<int>("irqValue");
    QTest::newRow("IRQ 4 at 300") << "300"
                                  << "300"
                                  << "4" << 0x300u << 4;
    QTest::newRow("IRQ F writes 15") << "300"
                                     << "300"
                                     << "F" << 0x300u << 15;
    QTest::newRow("2A8 taken as typed, not as 2A0") << "2A8"
                                                    << "2A8"
                                                    << "4" << 0x2A8u << 4;
    QTest::newRow("BaseEdit changed in Entry does not move the writes") << "300"
                                                                        << "2A8"
                                                                        << "4" << 0x300u << 4;
    QTest::newRow("low 16 bits of a longer value") << "12300"
                                                   << "12300"
                                                   << "A" << 0x2300u << 10;
    QTest::newRow("FFFF: ports above 16 bits, no wrap") << "FFFF"
                                                        << "FFFF"
                                                        << "2" << 0xFFFFu << 2;
}

void TestPortResources::writeSequence()
{
    QFETCH(QString, baseAtConfigure);
    QFETCH(QString, baseAtUse);
    QFETCH(QString, irq);
    QFETCH(quint32, base);
    QFETCH(int, irqValue);
    Fixture f;
    f.form->BaseEdit->setText(baseAtConfigure);
    f.configure();
    QVERIFY(f.inEntry());
    f.form->BaseEdit->setText(baseAtUse);
    f.enter(kPorts, irq);
    f.boxes.answers.enqueue(MsgBox::Result::Ok);
    f.use();

    QList<int> registers = kRegisters;
    registers[8] = irqValue;
    QCOMPARE(f.ports.writes, sequence(base, registers));
    QCOMPARE(f.boxes.asked.size(), 3);
    const struct
    {
        QString text, caption;
        MsgBox::Buttons buttons;
        MsgBox::Icon icon;
    } expected[] = {
        {kAccessWarning, "Access Warning", MsgBox::Buttons::OkCancel, MsgBox::Icon::Question},
        {kQuestion, "Confirmation", MsgBox::Buttons::OkCancel, MsgBox::Icon::Question},
        {kWritten, "Confirmation", MsgBox::Buttons::Ok, MsgBox::Icon::Information},
    };
    for (int i = 0; i < 3; ++i) {
        const MsgBox::Request& r = f.boxes.asked[i];
        QCOMPARE(r.text, expected[i].text);
        QCOMPARE(r.caption, expected[i].caption);
        QCOMPARE(r.buttons, expected[i].buttons);
        QCOMPARE(r.icon, expected[i].icon);
        QCOMPARE(r.owner, f.form->COMBasePanel->window());
    }
    QVERIFY(f.inIdle());
    QVERIFY(f.form->UseButton->isEnabled());
    for (int i = 0; i < 4; ++i)
        QCOMPARE(f.edit(i)->text(), kPorts[i]); // entries stay after the write
}

// Configuring must overwrite whatever the entries held; the "***" it leaves
// must never pass the checks.
void TestPortResources::configureResetsEntriesAndUseNamesPortA()
{
    Fixture f;
    f.edit(1)->setText("2F8");
    f.configure();
    QVERIFY(f.inEntry());
    for (QWidget* w : f.form->COMBasePanel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        QCOMPARE(w->isHidden(), w == f.form->ConfigButton);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(f.edit(i)->text(), QStringLiteral("***"));
        QCOMPARE(int(f.upDown(i)->Position()), 1016);
    }
    QCOMPARE(f.form->IRQCombo->currentIndex(), -1);
    QCOMPARE(f.form->IRQCombo->currentText(), QString());
    QCOMPARE(f.form->ControlBase, std::uint16_t(0x300));

    f.use();
    QCOMPARE(f.boxes.asked.size(), 2);
    const MsgBox::Request& r = f.boxes.asked[1];
    QCOMPARE(r.text, QStringLiteral("Error: base address for port A is invalid."));
    QCOMPARE(r.caption, QStringLiteral("Invalid Setting"));
    QCOMPARE(r.icon, MsgBox::Icon::Exclamation);
    QCOMPARE(r.buttons, MsgBox::Buttons::Ok);
    QCOMPARE(r.owner, f.form->COMBasePanel->window());
    QVERIFY(f.ports.writes.isEmpty());
    QVERIFY(f.inEntry());
}

// A refused warning or a control base that is not hexadecimal must change
// nothing: no toggle, no "***", ControlBase as before; the bad text reaches
// the default error display with its message.
void TestPortResources::configureRefused_data()
{
    QTest::addColumn<QString>("baseText");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("error");
    const int ok = int(MsgBox::Result::Ok);
    const int cancel = int(MsgBox::Result::Cancel);
    QTest::newRow("Cancel on the warning") << "300" << cancel << QString();
    QTest::newRow("Cancel with bad text: no error either") << "3G0" << cancel << QString();
    QTest::newRow("letter beyond F")
        << "3G0" << ok << QStringLiteral("\"3G0\" is not a valid hexadecimal value.");
    QTest::newRow("empty") << "" << ok << QStringLiteral("\"\" is not a valid hexadecimal value.");
    QTest::newRow("$ prefix") << "$300" << ok
                              << QStringLiteral("\"$300\" is not a valid hexadecimal value.");
    QTest::newRow("above FFFFFFFF")
        << "1FFFFFFFF" << ok << QStringLiteral("\"1FFFFFFFF\" is not a valid hexadecimal value.");
}

void TestPortResources::configureRefused()
{
    QFETCH(QString, baseText);
    QFETCH(int, answer);
    QFETCH(QString, error);
    Fixture f;
    f.form->ControlBase = 0x2E0;
    f.edit(0)->setText("2F8");
    f.form->BaseEdit->setText(baseText);
    f.boxes.answers.enqueue(MsgBox::Result(answer));
    QTest::mouseClick(f.form->ConfigButton, Qt::LeftButton);

    QCOMPARE(f.boxes.asked.size(), error.isEmpty() ? 1 : 2);
    QCOMPARE(f.boxes.asked[0].caption, QStringLiteral("Access Warning"));
    if (!error.isEmpty()) {
        QCOMPARE(f.boxes.asked[1].text, error);
        QCOMPARE(f.boxes.asked[1].caption, QCoreApplication::applicationName());
        QCOMPARE(f.boxes.asked[1].icon, MsgBox::Icon::Error);
    }
    QVERIFY(f.inIdle());
    QCOMPARE(f.form->ControlBase, std::uint16_t(0x2E0));
    QCOMPARE(f.edit(0)->text(), QStringLiteral("2F8"));
    QCOMPARE(int(f.upDown(0)->Position()), 760);
    QVERIFY(f.ports.writes.isEmpty());
}

// Each refusal on "Use These Resources" must name the first bad entry in the
// order A to D, then the IRQ, show nothing more, write nothing and stay in
// Entry; an invalid text must not have moved its up-down.
void TestPortResources::useChecks_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("irq");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("badPort");
    const QString invalid = QStringLiteral("Invalid Setting");
    auto port = [](char p) {
        return QStringLiteral("Error: base address for port %1 is invalid.").arg(p);
    };
    QTest::newRow("A: F8 below 100")
        << QStringList{"F8", "2F8", "3E8", "2E8"} << "4" << port('A') << invalid << 0;
    QTest::newRow("B: 3FC not a multiple of 8")
        << QStringList{"3F8", "3FC", "3E8", "2E8"} << "4" << port('B') << invalid << 1;
    QTest::newRow("C: 400 above 3F8")
        << QStringList{"3F8", "2F8", "400", "2E8"} << "4" << port('C') << invalid << 2;
    QTest::newRow("D: still ***") << QStringList{"3F8", "2F8", "3E8", "***"} << "4" << port('D')
                                  << invalid << 3;
    QTest::newRow("B: empty") << QStringList{"3F8", "", "3E8", "2E8"} << "4" << port('B') << invalid
                              << 1;
    QTest::newRow("B and C bad: B named")
        << QStringList{"3F8", "F8", "400", "2E8"} << "4" << port('B') << invalid << 1;
    QTest::newRow("no IRQ") << kPorts << ""
                            << QStringLiteral("Error: IRQ for all ports is invalid.") << invalid
                            << -1;
    QTest::newRow("Cancel on the confirmation")
        << kPorts << "4" << kQuestion << QStringLiteral("Confirmation") << -1;
}

void TestPortResources::useChecks()
{
    QFETCH(QStringList, texts);
    QFETCH(QString, irq);
    QFETCH(QString, text);
    QFETCH(QString, caption);
    QFETCH(int, badPort);
    Fixture f;
    f.configure();
    f.enter(texts, irq);
    f.boxes.answers.enqueue(MsgBox::Result::Cancel);
    f.use();
    QCOMPARE(f.boxes.asked.size(), 2);
    QCOMPARE(f.boxes.asked[1].text, text);
    QCOMPARE(f.boxes.asked[1].caption, caption);
    QVERIFY(f.ports.writes.isEmpty());
    QVERIFY(f.inEntry());
    if (badPort >= 0)
        QCOMPARE(int(f.upDown(badPort)->Position()), 1016);
}

// Typing must bring a valid address into three upper-case digits without
// moving the caret, and move the up-down only for a valid port address.
void TestPortResources::typing_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("selFrom");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("position");
    QTest::newRow("2f8 into a cleared edit") << "" << 0 << 0 << "2f8"
                                             << "2F8" << 3 << 760;
    QTest::newRow("0300 into a cleared edit") << "" << 0 << 0 << "0300"
                                              << "300" << 3 << 768;
    QTest::newRow("lower case in the middle keeps the caret") << "3F8" << 1 << 1 << "e"
                                                              << "3E8" << 2 << 1000;
    QTest::newRow("leading zero where the up-down already stands") << "300" << 0 << 0 << "0"
                                                                   << "300" << 1 << 768;
    QTest::newRow("F8: up-down stays") << "" << 0 << 0 << "F8"
                                       << "F8" << 2 << 1016;
    QTest::newRow("3FC: up-down stays") << "" << 0 << 0 << "3FC"
                                        << "3FC" << 3 << 1016;
    QTest::newRow("400: up-down stays") << "" << 0 << 0 << "400"
                                        << "400" << 3 << 1016;
}

void TestPortResources::typing()
{
    QFETCH(QString, start);
    QFETCH(int, selFrom);
    QFETCH(int, selLength);
    QFETCH(QString, typed);
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(int, position);
    Fixture f;
    f.configure();
    QLineEdit* edit = f.form->BaseEditB;
    edit->setFocus();
    edit->setText(start);
    if (selLength > 0)
        edit->setSelection(selFrom, selLength);
    else
        edit->setCursorPosition(selFrom);
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), text);
    QCOMPARE(edit->cursorPosition(), caret);
    QCOMPARE(int(f.form->BaseUDB->Position()), position);
    QCOMPARE(f.form->BaseEditA->text(), QStringLiteral("***")); // only B's pair moved
}

// Keys in the edit and clicks on the arrows step the up-down within
// 256..1016 and the edit follows in three upper-case digits; other keys still
// reach the edit.
void TestPortResources::stepping_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("position");
    QTest::newRow("3F8 Up stays") << "3F8"
                                  << "Up"
                                  << "3F8" << 1016;
    QTest::newRow("3F8 Page Up stays") << "3F8"
                                       << "PageUp"
                                       << "3F8" << 1016;
    QTest::newRow("3F8 Down") << "3F8"
                              << "Down"
                              << "3F0" << 1008;
    QTest::newRow("3F0 Page Down") << "3F0"
                                   << "PageDown"
                                   << "3B0" << 944;
    QTest::newRow("100 Down stays") << "100"
                                    << "Down"
                                    << "100" << 256;
    QTest::newRow("100 Page Down stays") << "100"
                                         << "PageDown"
                                         << "100" << 256;
    QTest::newRow("200 Shift+Page Up: shift ignored") << "200"
                                                      << "Shift+PageUp"
                                                      << "240" << 576;
    QTest::newRow("*** Down from 1016") << "***"
                                        << "Down"
                                        << "3F0" << 1008;
    QTest::newRow("digit goes into the edit") << "20"
                                              << "8"
                                              << "208" << 520;
    QTest::newRow("upper arrow from 3F0") << "3F0"
                                          << "upper arrow"
                                          << "3F8" << 1016;
    QTest::newRow("upper arrow at 3F8 stays") << "3F8"
                                              << "upper arrow"
                                              << "3F8" << 1016;
    QTest::newRow("lower arrow from 108") << "108"
                                          << "lower arrow"
                                          << "100" << 256;
    QTest::newRow("lower arrow at 100 stays") << "100"
                                              << "lower arrow"
                                              << "100" << 256;
    QTest::newRow("upper arrow from 2a0") << "2a0"
                                          << "upper arrow"
                                          << "2A8" << 680;
}

void TestPortResources::stepping()
{
    QFETCH(QString, start);
    QFETCH(QString, input);
    QFETCH(QString, text);
    QFETCH(int, position);
    Fixture f;
    f.configure();
    QLineEdit* edit = f.form->BaseEditC;
    TUpDown* ud = f.form->BaseUDC;
    edit->setText(start);
    edit->setFocus();
    edit->end(false);
    if (input == "upper arrow")
        QTest::mouseClick(ud, Qt::LeftButton, {}, QPoint(7, 5));
    else if (input == "lower arrow")
        QTest::mouseClick(ud, Qt::LeftButton, {}, QPoint(7, 19));
    else if (input == "8")
        QTest::keyClick(edit, Qt::Key_8);
    else {
        const QMap<QString, Qt::Key> keys = {{"Up", Qt::Key_Up},
                                             {"Down", Qt::Key_Down},
                                             {"PageUp", Qt::Key_PageUp},
                                             {"PageDown", Qt::Key_PageDown}};
        const bool shift = input.startsWith("Shift+");
        QTest::keyClick(edit, keys.value(input.mid(shift ? 6 : 0)),
                        shift ? Qt::ShiftModifier : Qt::NoModifier);
    }
    QCOMPARE(edit->text(), text);
    QCOMPARE(int(ud->Position()), position);
}

// The entries stay after a write, but the next configure must start again
// from "***", 1016 and no IRQ in every row.
void TestPortResources::secondConfigureAfterWriteStartsAfresh()
{
    Fixture f;
    f.configure();
    f.enter(kPorts, "4");
    f.use();
    QVERIFY(f.inIdle());
    QCOMPARE(f.form->IRQCombo->currentText(), QStringLiteral("4"));
    f.configure();
    QVERIFY(f.inEntry());
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(f.edit(i)->text(), QStringLiteral("***"));
        QCOMPARE(int(f.upDown(i)->Position()), 1016);
    }
    QCOMPARE(f.form->IRQCombo->currentIndex(), -1);
    QCOMPARE(f.ports.writes.size(), 20);
}

// Without event handling inside the pauses the windows would freeze for the
// whole sequence; a pause that ends early lets the card miss a write.
void TestPortResources::sequenceStaysResponsiveAndPaced()
{
    Fixture f;
    f.configure();
    f.enter(kPorts, "4");
    int writesWhenFired = -1;
    f.onWrite = [&] {
        if (f.ports.writes.size() == 1)
            QTimer::singleShot(0, [&] { writesWhenFired = f.ports.writes.size(); });
    };
    f.use();
    const std::uint32_t end = GetTickCount();
    QCOMPARE(writesWhenFired, 1);
    QCOMPARE(f.writeTicks.size(), 20);
    for (int i = 1; i < f.writeTicks.size(); ++i)
        QVERIFY2(f.writeTicks[i] - f.writeTicks[i - 1] > 10, qPrintable(QString::number(i)));
    QVERIFY(end - f.writeTicks.last() > 10);
}

// A second press while the first sequence pauses must not start another
// sequence whose writes would interleave with the first.
void TestPortResources::secondPressDuringSequenceStartsNothing()
{
    Fixture f;
    f.configure();
    f.enter(kPorts, "4");
    bool enabledDuring = true;
    f.onWrite = [&] {
        if (f.ports.writes.size() != 3)
            return;
        enabledDuring = f.form->UseButton->isEnabled();
        QTest::mouseClick(f.form->UseButton, Qt::LeftButton);
        f.form->UseButtonClick(f.form->UseButton);
    };
    f.use();
    QCOMPARE(f.ports.writes, sequence(0x300, kRegisters));
    QVERIFY(!enabledDuring);
    QCOMPARE(f.boxes.asked.size(), 3); // warning, one question, one final box
    QCOMPARE(f.boxes.asked[2].text, kWritten);
    QVERIFY(f.inIdle());
    QVERIFY(f.form->UseButton->isEnabled());
}

// The window going away during a pause must not be touched afterwards: the
// register in progress is finished, nothing further is written or shown.
void TestPortResources::windowDestroyedDuringSequence()
{
    Fixture f;
    f.configure();
    f.enter(kPorts, "4");
    f.onWrite = [&] {
        if (f.ports.writes.size() == 1)
            QTimer::singleShot(0, [&] { delete f.form; });
    };
    f.form->UseButtonClick(f.form->UseButton);
    QVERIFY(f.form.isNull());
    QCOMPARE(f.ports.writes, sequence(0x300, {0x7F}));
    QCOMPARE(f.boxes.asked.size(), 2);
}

// The pause must last more than 10 ticks and handle pending events, also
// where start + 10 wraps past 2^32 and while the application is quitting
// (when nested loops refuse to run).
void TestPortResources::pause_data()
{
    QTest::addColumn<quint32>("startTick");
    QTest::addColumn<bool>("quitting");
    QTest::newRow("steady") << 0x1000u << false;
    QTest::newRow("tick count about to wrap") << 0xFFFFFFF8u << false;
    QTest::newRow("application quitting") << 0x1000u << true;
}

void TestPortResources::pause()
{
    QFETCH(quint32, startTick);
    QFETCH(bool, quitting);
    g_tickOffset = startTick - GetTickCount();
    bool handled = false;
    std::uint32_t elapsed = 0;
    auto run = [&] {
        QTimer::singleShot(0, [&] { handled = true; });
        const std::uint32_t start = OffsetTicks();
        PauseWithMessages(10, &OffsetTicks);
        elapsed = OffsetTicks() - start;
    };
    if (quitting) {
        QTimer::singleShot(0, [&] {
            QCoreApplication::exit(0);
            run();
        });
        QCoreApplication::exec();
    } else {
        run();
    }
    QVERIFY(handled);
    QVERIFY2(elapsed > 10, qPrintable(QString::number(elapsed)));
}

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestPortResources t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_portresources.moc"
