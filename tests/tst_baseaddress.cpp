#include "Application.h"
#include "PortRecorder.h"
#include "SetupCtrls.h"
#include "template.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <memory>

class TestBaseAddress : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startUp();
    void layoutChildren_data();
    void layoutChildren();
    void creationOrder();
    void stripLeadingZeros_data();
    void stripLeadingZeros();
    void baseEditChange_data();
    void baseEditChange();
    void invalidText_data();
    void invalidText();
    void addressClicks_data();
    void addressClicks();
    void invalidTextThenClick();
    void clockJumper();
    void dfJumper();
    void mirrorsTakeNoClicks_data();
    void mirrorsTakeNoClicks();

private:
    QList<TTwoJumper*> addressGlyphs() const;
    QString jumperStates() const;
    void click(TTwoJumper* glyph);

    std::unique_ptr<PortRecorder> ports;
    std::unique_ptr<TMainForm> form;
};

namespace {

QColor baseColour(const QLineEdit* edit)
{
    return edit->palette().color(QPalette::Base);
}

// "C" for a closed glyph, "o" for an open one.
QString states(const QList<TTwoJumper*>& glyphs)
{
    QString s;
    for (const TTwoJumper* g : glyphs)
        s += g->Closed() ? QLatin1Char('C') : QLatin1Char('o');
    return s;
}

} // namespace

// A fresh window per test, shown with the three panels visible so the glyphs
// take real mouse clicks. Port reads answer 0: no driver warning.
void TestBaseAddress::init()
{
    ports = std::make_unique<PortRecorder>(0);
    form = std::make_unique<TMainForm>();
    form->show();
    for (TRadioPanel* p : {form->BasePanel, form->ClockPanel, form->DFPanel})
        p->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
}

void TestBaseAddress::cleanup()
{
    form.reset();
    ports.reset();
}

QList<TTwoJumper*> TestBaseAddress::addressGlyphs() const
{
    return {form->BaseJumper4A, form->BaseJumper5A, form->BaseJumper6A,
            form->BaseJumper7A, form->BaseJumper8A, form->BaseJumper9A};
}

// The six address glyphs A4..A9, then the mirrors 8B, 9B, 9C.
QString TestBaseAddress::jumperStates() const
{
    return states(addressGlyphs()) + QLatin1Char(' ') +
           states({form->BaseJumper8B, form->BaseJumper9B, form->BaseJumper9C});
}

void TestBaseAddress::click(TTwoJumper* glyph)
{
    QTest::mouseClick(glyph, Qt::LeftButton, {}, glyph->rect().center());
}

// Start-up must leave the lists on their first items without running their
// change handlers, and the address text and jumpers in agreement.
void TestBaseAddress::startUp()
{
    QCOMPARE(form->ClockCombo->currentText(), QStringLiteral("X1 (up to 115,200 baud)"));
    QCOMPARE(form->DFCombo->currentText(), QStringLiteral("Enable Ports"));
    QCOMPARE(form->BaseEdit->text(), QStringLiteral("300"));
    QVERIFY(form->BaseLabelFeedback->text().isEmpty());
    QCOMPARE(jumperStates(), QStringLiteral("CCCCoo ooo"));
    QCOMPARE(states({form->ClockJumperA, form->ClockJumperB, form->ClockJumperC, form->DFJumperA,
                     form->DFJumperB, form->DFJumperC}),
             QStringLiteral("oooooo"));
    QCOMPARE(form->ClockCombo->count(), 2);
    QCOMPARE(form->ClockCombo->itemText(1), QStringLiteral("X8 (up to 921,600 baud)"));
    QCOMPARE(form->DFCombo->count(), 2);
    QCOMPARE(form->DFCombo->itemText(1), QStringLiteral("Disable Ports"));
    QVERIFY(!form->ClockCombo->isEditable() && !form->DFCombo->isEditable());
    // Showing the window must not move or shrink the panels their children
    // were laid out on.
    QCOMPARE(form->BasePanel->geometry(), QRect(0, 472, 185, 121));
    QCOMPARE(form->ClockPanel->geometry(), QRect(448, 504, 233, 81));
    QCOMPARE(form->DFPanel->geometry(), QRect(224, 504, 185, 81));
}

// Places, captions and enabled states are what let the user find each jumper
// on the card; a slip in one of them misplaces or unlocks a glyph.
void TestBaseAddress::layoutChildren_data()
{
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("state"); // a glyph's Closed; 1 for a vertically centred label
    auto row = [](const char* name, const char* panel, int l, int t, int w, int h,
                  const char* caption, bool enabled, int state) {
        QTest::newRow(name) << panel << QRect(l, t, w, h) << caption << enabled << state;
    };
    row("BaseEdit", "BasePanel", 64, 7, 57, 21, "300", true, 0);
    row("BaseLabelFeedback", "BasePanel", 56, 32, 73, 17, "", true, 0);
    row("Label30", "BasePanel", 4, 56, 17, 17, "A4", true, 1);
    row("Label1", "BasePanel", 24, 56, 17, 17, "A5", true, 1);
    row("BaseLabel9", "BasePanel", 44, 56, 17, 17, "A6", true, 1);
    row("BaseLabel8", "BasePanel", 64, 56, 17, 17, "A7", true, 1);
    row("BaseLabel7", "BasePanel", 84, 56, 17, 17, "A8", true, 1);
    row("BaseLabel6", "BasePanel", 104, 56, 17, 17, "A9", true, 1);
    row("BaseLabel5", "BasePanel", 124, 56, 17, 17, "DF", false, 1);
    row("Label26", "BasePanel", 144, 56, 17, 17, "X8", false, 1);
    row("BaseJumper4A", "BasePanel", 4, 72, 18, 34, "", true, 1);
    row("BaseJumper5A", "BasePanel", 24, 72, 18, 34, "", true, 1);
    row("BaseJumper6A", "BasePanel", 44, 72, 18, 34, "", true, 1);
    row("BaseJumper7A", "BasePanel", 64, 72, 18, 34, "", true, 1);
    row("BaseJumper8A", "BasePanel", 84, 72, 18, 34, "", true, 0);
    row("BaseJumper9A", "BasePanel", 104, 72, 18, 34, "", true, 0);
    row("DFJumperB", "BasePanel", 124, 72, 18, 34, "", false, 0);
    row("ClockJumperC", "BasePanel", 144, 72, 18, 34, "", false, 0);
    row("Label24", "ClockPanel", -8, 16, 17, 19, "A9", false, 1);
    row("Label23", "ClockPanel", 12, 16, 17, 19, "DF", false, 1);
    row("InvertLabel", "ClockPanel", 32, 16, 17, 19, "X8", true, 1);
    row("BaseJumper9C", "ClockPanel", -8, 32, 18, 34, "", false, 0);
    row("DFJumperC", "ClockPanel", 12, 32, 18, 34, "", false, 0);
    row("ClockJumperA", "ClockPanel", 32, 32, 18, 34, "", true, 0);
    row("ClockCombo", "ClockPanel", 64, 40, 161, 21, "X1 (up to 115,200 baud)", true, 0);
    row("Label22", "DFPanel", -8, 16, 17, 17, "A8", false, 1);
    row("Label21", "DFPanel", 12, 16, 17, 17, "A9", false, 1);
    row("Label20", "DFPanel", 32, 16, 17, 17, "DF", true, 1);
    row("Label25", "DFPanel", 52, 16, 17, 17, "X8", false, 1);
    row("BaseJumper8B", "DFPanel", -8, 32, 18, 34, "", false, 0);
    row("BaseJumper9B", "DFPanel", 12, 32, 18, 34, "", false, 0);
    row("DFJumperA", "DFPanel", 32, 32, 18, 34, "", true, 0);
    row("ClockJumperB", "DFPanel", 52, 32, 18, 34, "", false, 0);
    row("DFCombo", "DFPanel", 80, 32, 97, 21, "Enable Ports", true, 0);
}

void TestBaseAddress::layoutChildren()
{
    QFETCH(QString, panel);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    QFETCH(bool, enabled);
    QFETCH(int, state);
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    auto* w = form->findChild<QWidget*>(name);
    QVERIFY(w);
    QCOMPARE(w->parentWidget()->objectName(), panel);
    QCOMPARE(w->geometry(), geometry);
    QCOMPARE(w->isEnabled(), enabled);
    if (auto* label = qobject_cast<QLabel*>(w)) {
        QCOMPARE(label->text(), caption);
        QCOMPARE(label->alignment(), state ? Qt::AlignCenter : Qt::AlignHCenter | Qt::AlignTop);
        QVERIFY(!label->wordWrap());
    } else if (auto* glyph = dynamic_cast<TTwoJumper*>(w)) {
        QCOMPARE(glyph->Closed(), state == 1);
        QCOMPARE(glyph->Orientation(), otLeft);
        QCOMPARE(glyph->BaseColor(), clGray); // default colours
        QCOMPARE(glyph->BorderStyle(), bsSingle);
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        QCOMPARE(edit->text(), caption);
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        QCOMPARE(combo->currentText(), caption);
    } else {
        QFAIL("unexpected kind of control");
    }
}

// The layout's creation order is the panels' child order (and stacking).
void TestBaseAddress::creationOrder()
{
    auto names = [](const QWidget* panel) {
        QStringList list;
        for (const QObject* child : panel->children())
            if (child->isWidgetType())
                list << child->objectName();
        return list;
    };
    QCOMPARE(names(form->BasePanel),
             QStringList({"BaseLabel5", "BaseLabel6", "BaseLabel7", "BaseLabel8", "BaseLabel9",
                          "BaseLabelFeedback", "Label1", "Label26", "DFJumperB", "BaseJumper9A",
                          "BaseJumper8A", "BaseJumper7A", "BaseJumper6A", "BaseJumper5A",
                          "ClockJumperC", "Label30", "BaseJumper4A", "BaseEdit"}));
    QCOMPARE(names(form->ClockPanel),
             QStringList({"InvertLabel", "Label23", "Label24", "BaseJumper9C", "DFJumperC",
                          "ClockJumperA", "ClockCombo"}));
    QCOMPARE(names(form->DFPanel),
             QStringList({"Label20", "Label21", "Label22", "Label25", "ClockJumperB", "DFJumperA",
                          "BaseJumper9B", "BaseJumper8B", "DFCombo"}));
}

// Zeros-only texts must become "0", not empty; other characters stay.
void TestBaseAddress::stripLeadingZeros_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result");
    QTest::newRow("0") << "0"
                       << "0";
    QTest::newRow("000") << "000"
                         << "0";
    QTest::newRow("0300") << "0300"
                          << "300";
    QTest::newRow("300") << "300"
                         << "300";
    QTest::newRow("zero inside") << "00x0"
                                 << "x0";
    QTest::newRow("empty") << ""
                           << "";
}

void TestBaseAddress::stripLeadingZeros()
{
    QFETCH(QString, text);
    QFETCH(QString, result);
    QCOMPARE(TMainForm::StripLeadingZeros(text), result);
}

// Typed text to jumpers, mirrors and feedback: a wrong mask, bit order or
// normalisation shows as wrong glyphs or a spurious or missing "Actual: ".
void TestBaseAddress::baseEditChange_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("feedback");
    QTest::addColumn<QString>("jumpers"); // A4..A9, then 8B 9B 9C
    QTest::newRow("300") << "300"
                         << ""
                         << "CCCCoo ooo";
    QTest::newRow("2A8") << "2A8"
                         << "Actual: 2A0"
                         << "CoCoCo Coo";
    QTest::newRow("2a0") << "2a0"
                         << ""
                         << "CoCoCo Coo";
    QTest::newRow("0300") << "0300"
                          << ""
                          << "CCCCoo ooo";
    QTest::newRow("02A0") << "02A0"
                          << ""
                          << "CoCoCo Coo";
    QTest::newRow("1300") << "1300"
                          << "Actual: 300"
                          << "CCCCoo ooo";
    QTest::newRow("FFFFFFFF") << "FFFFFFFF"
                              << "Actual: 3F0"
                              << "oooooo ooo";
    QTest::newRow("000000300") << "000000300"
                               << ""
                               << "CCCCoo ooo";
    QTest::newRow("8") << "8"
                       << "Actual: 0"
                       << "CCCCCC CCC";
    QTest::newRow("0") << "0"
                       << ""
                       << "CCCCCC CCC";
    QTest::newRow("000") << "000"
                         << ""
                         << "CCCCCC CCC";
    QTest::newRow("110") << "110"
                         << ""
                         << "oCCCoC oCC";
}

void TestBaseAddress::baseEditChange()
{
    QFETCH(QString, text);
    QFETCH(QString, feedback);
    QFETCH(QString, jumpers);
    // Start from a state unlike every expected one, then type the text.
    form->BaseEdit->setText(QStringLiteral("1F0"));
    QCOMPARE(jumperStates(), QStringLiteral("oooooC oCC"));
    form->BaseEdit->clear();
    QTest::keyClicks(form->BaseEdit, text);
    QCOMPARE(form->BaseEdit->text(), text);
    QCOMPARE(form->BaseLabelFeedback->text(), feedback);
    QCOMPARE(jumperStates(), jumpers);
    QCOMPARE(baseColour(form->BaseEdit), ColorToQColor(clWindow));
}

// Bad text only turns the edit to the panel colour; the jumpers and the
// feedback keep the last valid state, and valid text brings the colour back.
void TestBaseAddress::invalidText_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("leading blank") << " 300";
    QTest::newRow("trailing blank") << "300 ";
    QTest::newRow("dollar prefix") << "$300";
    QTest::newRow("0x prefix") << "0x300";
    QTest::newRow("letter beyond F") << "G00";
    QTest::newRow("sign") << "-300";
    QTest::newRow("above FFFFFFFF") << "1FFFFFFFF";
}

void TestBaseAddress::invalidText()
{
    QFETCH(QString, text);
    const QColor window = ColorToQColor(clWindow);
    const QColor panel = ColorToQColor(form->BasePanel->Color());
    QVERIFY(window != panel); // else the colour change could not be seen
    form->BaseEdit->setText(QStringLiteral("2A8"));
    const QString before = jumperStates();
    QCOMPARE(before, QStringLiteral("CoCoCo Coo"));

    form->BaseEdit->setText(text);
    QCOMPARE(form->BaseEdit->text(), text);
    QCOMPARE(baseColour(form->BaseEdit), panel);
    QCOMPARE(form->BaseLabelFeedback->text(), QStringLiteral("Actual: 2A0"));
    QCOMPARE(jumperStates(), before);

    form->BaseEdit->setText(QStringLiteral("300"));
    QCOMPARE(baseColour(form->BaseEdit), window);
    QVERIFY(form->BaseLabelFeedback->text().isEmpty());
    QCOMPARE(jumperStates(), QStringLiteral("CCCCoo ooo"));
}

// A click rewrites the address from the six glyphs, exactly and without
// feedback; a wrong bit or a stale state gives the wrong text.
void TestBaseAddress::addressClicks_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QList<int>>("clicks"); // positions 4..9
    QTest::addColumn<QStringList>("texts"); // after each click
    QTest::newRow("300, A4, A9") << "300" << QList<int>{4, 9} << QStringList{"310", "110"};
    QTest::newRow("2A8, A4") << "2A8" << QList<int>{4} << QStringList{"2B0"};
    QTest::newRow("0, every jumper")
        << "0" << QList<int>{4, 5, 6, 7, 8, 9} << QStringList{"10", "30", "70", "F0", "1F0", "3F0"};
}

void TestBaseAddress::addressClicks()
{
    QFETCH(QString, start);
    QFETCH(QList<int>, clicks);
    QFETCH(QStringList, texts);
    form->BaseEdit->setText(start);
    const QList<TTwoJumper*> glyphs = addressGlyphs();
    for (int i = 0; i < clicks.size(); ++i) {
        click(glyphs[clicks[i] - 4]);
        QCOMPARE(form->BaseEdit->text(), texts[i]);
        QVERIFY(form->BaseLabelFeedback->text().isEmpty());
        const std::uint32_t value = texts[i].toUInt(nullptr, 16);
        for (int k = 4; k <= 9; ++k)
            QCOMPARE(glyphs[k - 4]->Closed(), (value & (1u << k)) == 0);
        QCOMPARE(form->BaseJumper8B->Closed(), form->BaseJumper8A->Closed());
        QCOMPARE(form->BaseJumper9B->Closed(), form->BaseJumper9A->Closed());
        QCOMPARE(form->BaseJumper9C->Closed(), form->BaseJumper9A->Closed());
    }
}

// With bad text showing, a click writes a valid address built from the
// jumpers as they show and ends the panel-colour state.
void TestBaseAddress::invalidTextThenClick()
{
    form->BaseEdit->setText(QStringLiteral("0x300"));
    QCOMPARE(baseColour(form->BaseEdit), ColorToQColor(form->BasePanel->Color()));
    click(form->BaseJumper6A);
    QCOMPARE(form->BaseEdit->text(), QStringLiteral("340"));
    QCOMPARE(baseColour(form->BaseEdit), ColorToQColor(clWindow));
}

// Glyph and list of the baud clock stay in step both ways; a choice made by
// program is not the user's and changes no glyph.
void TestBaseAddress::clockJumper()
{
    const QList<TTwoJumper*> clock = {form->ClockJumperA, form->ClockJumperB, form->ClockJumperC};
    click(form->ClockJumperA);
    QCOMPARE(form->ClockCombo->currentText(), QStringLiteral("X8 (up to 921,600 baud)"));
    QCOMPARE(states(clock), QStringLiteral("CCC"));
    click(form->ClockJumperA);
    QCOMPARE(form->ClockCombo->currentText(), QStringLiteral("X1 (up to 115,200 baud)"));
    QCOMPARE(states(clock), QStringLiteral("ooo"));

    QTest::keyClick(form->ClockCombo, Qt::Key_Down); // the user's choice
    QCOMPARE(form->ClockCombo->currentIndex(), 1);
    QCOMPARE(states(clock), QStringLiteral("CCC"));
    QTest::keyClick(form->ClockCombo, Qt::Key_Up);
    QCOMPARE(states(clock), QStringLiteral("ooo"));

    form->ClockCombo->setCurrentIndex(1);
    QCOMPARE(states(clock), QStringLiteral("ooo"));
}

void TestBaseAddress::dfJumper()
{
    // "Disable Ports" is a fitted DF jumper, on the panel and both mirrors.
    const QList<TTwoJumper*> df = {form->DFJumperA, form->DFJumperB, form->DFJumperC};
    QTest::keyClick(form->DFCombo, Qt::Key_Down);
    QCOMPARE(form->DFCombo->currentText(), QStringLiteral("Disable Ports"));
    QCOMPARE(states(df), QStringLiteral("CCC"));
    click(form->DFJumperA);
    QCOMPARE(form->DFCombo->currentText(), QStringLiteral("Enable Ports"));
    QCOMPARE(states(df), QStringLiteral("ooo"));
    click(form->DFJumperA);
    QCOMPARE(form->DFCombo->currentText(), QStringLiteral("Disable Ports"));
    QCOMPARE(states(df), QStringLiteral("CCC"));

    form->DFCombo->setCurrentIndex(0);
    QCOMPARE(states(df), QStringLiteral("CCC"));
}

// A mirror only copies its enabled glyph: a click on it must change nothing,
// neither the glyph nor, through a click binding, the address text.
void TestBaseAddress::mirrorsTakeNoClicks_data()
{
    QTest::addColumn<QString>("name");
    for (const char* name : {"DFJumperB", "ClockJumperC", "BaseJumper9C", "DFJumperC",
                             "BaseJumper8B", "BaseJumper9B", "ClockJumperB"})
        QTest::newRow(name) << name;
}

void TestBaseAddress::mirrorsTakeNoClicks()
{
    QFETCH(QString, name);
    // TTwoJumper has no meta-object of its own: findChild<TTwoJumper*> would
    // take any widget for one, so the glyphs are told apart by their C++ type.
    auto* glyph = dynamic_cast<TTwoJumper*>(form->findChild<QWidget*>(name));
    QVERIFY(glyph && !glyph->isEnabled());
    QList<TTwoJumper*> all;
    for (QWidget* w : form->findChildren<QWidget*>())
        if (auto* g = dynamic_cast<TTwoJumper*>(w))
            all.append(g);
    QCOMPARE(all.size(), 15); // 8 on BasePanel, 3 on ClockPanel, 4 on DFPanel
    const QString before = states(all);
    click(glyph);
    QCOMPARE(states(all), before);
    QCOMPARE(form->BaseEdit->text(), QStringLiteral("300"));
    QCOMPARE(form->ClockCombo->currentIndex(), 0);
    QCOMPARE(form->DFCombo->currentIndex(), 0);
}

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestBaseAddress t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_baseaddress.moc"
