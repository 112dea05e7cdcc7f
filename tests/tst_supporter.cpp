#include "Application.h"
#include "Fonts.h"
#include "LLRURERU.h"
#include "PortRecorder.h"
#include "ScriptedAnswerer.h"
#include "SetupCtrls.h"
#include "template.h"

#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextFragment>
#include <QTimer>

class TestSupporter : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void startUp();
    void buildWaitsForTheWindow();
    void helpShownOnceByTheTimer();
    void helpDocument_data();
    void helpDocument();
    void helpRendering();
    void supportText();
    void fitToBounds_data();
    void fitToBounds();
    void helpScale_data();
    void helpScale();
    void windowGeometry();
    void helpWindowResizes();
    void keys_data();
    void keys();
    void helpMenuShowsTheOneWindow();
    void startButton();
    void startButtonFindsFirstBoardImage();
};

namespace {

bool anyWindowVisible()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.cbegin(), windows.cend(), [](QWidget* w) { return w->isVisible(); });
}

template <class T> int countTopLevel()
{
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (dynamic_cast<T*>(w))
            ++n;
    return n;
}

// Runs a real event loop until cond holds (or 5 s pass). Unlike QTRY_*, whose
// waiting never blocks, this loop goes idle between events, as the
// application's does, so the idle handler runs.
bool loopUntil(const std::function<bool()>& cond)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (cond())
            loop.quit();
    });
    poll.start(10);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    if (!cond())
        loop.exec();
    return cond();
}

// Builds the supporter's windows at once instead of at the first idle moment.
void buildNow(TMainForm& form)
{
    TApplication::Instance()->SetOnIdle(nullptr);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    bool done = true;
    form.SetSup->IdleStart(TApplication::Instance(), done);
    QVERIFY(form.SetSup->HelpForm);
}

// Counts the events of one type that reach an object.
class EventCounter : public QObject
{
public:
    EventCounter(QObject* target, QEvent::Type type) : m_type(type)
    {
        target->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == m_type)
            ++count;
        return false;
    }
    int count = 0;

private:
    QEvent::Type m_type;
};

// The help document of the setup window, piece by piece.
const char* const kHead =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 "
    "Verdana;}}{\\colortbl\\red64\\green64\\blue64;\\red255\\green255\\blue64;\\red64\\green64"
    "\\blue255;\\red255\\green64\\blue64;}\\viewkind4\\uc1\\pard\\f0\\fs32\\cf0\r\n{\\b ";
const char* const kTitle = "KELDO QL-4S Series";
const char* const kBody =
    " Settings Program}\\par\\par\\fs24\r\n"
    "This program will help you configure the option jumpers and settings associated with this "
    "product. You should have the product in-hand when first using this program.\\par\\par\r\n"
    "{\\cf1\\fs24\\b Yellow circles} provide information on configuring jumpers and "
    "switches.\\par\\par\r\n"
    "{\\cf2\\fs24\\b Blue circles} are informational only. They provide information on standard "
    "and optional features of the product family.\\par\\par\r\n"
    "{\\cf3\\fs24\\b Red circles} handle calibration and types of configuration that require "
    "actually controlling the hardware device. Run this settings program again once the card is "
    "installed. Repeat the {\\cf1 setup circles} (using the same settings) to configure this "
    "program, then perform the {\\cf3 calibration circles}.\\par\\par\r\n"
    "Mouse over the highlight circles to see configuration or information popups for {\\cf1 "
    "setup}, {\\cf2 features}, and {\\cf3 calibration}. Click a highlight circle to make its popup "
    "remain on-screen. You can have all or as many of these popups onscreen at the same time as "
    "you desire.\\par\\par\r\n";
const char* const kNote =
    "{\\fs32\\b Note:} Make sure to set the jumpers for each option group \\emdash  the "
    "configuration options for each port are handled identically; this program only shows the "
    "setup once, but you need to perform this setup for each group of options on your "
    "device.\\par\\par\r\n";
const char* const kCards = "To see a list of QL-4S cards installed, click \"Display QL-4S Cards "
                           "Installed\" under the File menu.\\par\\par\r\n";

struct Run
{
    QString text;
    double points;
    bool bold;
    QColor color;
};

// The rendered document as runs of equal format, empty blocks left out.
QList<Run> runsOf(const QTextDocument& doc)
{
    QList<Run> runs;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const Run r{it.fragment().text(), f.fontPointSize(), f.fontWeight() == QFont::Bold,
                        f.foreground().color()};
            if (!runs.isEmpty() && runs.last().points == r.points && runs.last().bold == r.bold &&
                runs.last().color == r.color)
                runs.last().text += r.text;
            else
                runs.append(r);
        }
    return runs;
}

} // namespace

void TestSupporter::cleanup()
{
    QTRY_VERIFY(!anyWindowVisible());
}

// Start-up of the setup window: a supporter that builds nothing, builds
// twice, never shows the help window, keeps its timer running, adds the
// installed-cards features without a card-string handler or touches the card
// driver library would fail here.
void TestSupporter::startUp()
{
    PortRecorder ports(0);
    ScriptedAnswerer boxes;
    TMainForm form;
    TSetupSupporter* sup = form.SetSup;
    QVERIFY(!sup->HelpForm && !sup->HeaderLabel);
    form.show();
    QVERIFY(loopUntil([sup] { return sup->HelpForm && sup->HelpForm->isVisible(); }));
    QVERIFY(!TApplication::Instance()->OnIdle());
    QVERIFY(!sup->HelpPending());
    QVERIFY(!sup->TimerWindow()->isActive());

    QCOMPARE(sup->HeaderLabel->text(), QStringLiteral("QL-4S Series Settings Program"));
    QCOMPARE(sup->HeaderLabel->objectName(), QStringLiteral("HeaderLabel"));
    QCOMPARE(sup->HeaderLabel->parentWidget(), form.Client());
    QCOMPARE(sup->HeaderLabel->font().family(), QStringLiteral("Tahoma"));
    QCOMPARE(sup->HeaderLabel->font().pointSize(), 18);
    QVERIFY(sup->HeaderLabel->font().bold());
    QVERIFY(sup->HeaderLabel->alignment() & Qt::AlignHCenter);
    QCOMPARE(sup->HeaderLabel->geometry(),
             QRect(0, 0, form.Client()->width(), QFontMetrics(sup->HeaderLabel->font()).height()));
    form.resize(form.width() + 150, form.height() + 40);
    QTRY_COMPARE(sup->HeaderLabel->width(), form.Client()->width());

    QCOMPARE(sup->HelpForm->parentWidget(), &form);
    QCOMPARE(sup->TechForm->parentWidget(), &form);
    QVERIFY(!sup->TechForm->isVisible());
    QCOMPARE(countTopLevel<THelpForm>(), 1);
    QCOMPARE(countTopLevel<TTechForm>(), 1);
    QCOMPARE(countTopLevel<TPCIForm>(), 0);
    QVERIFY(!sup->PCIForm);
    QVERIFY(sup->CardFound());
    QVERIFY(!form.findChild<QAction*>(QStringLiteral("DisplayPCI")));
    QCOMPARE(form.File1->actions().size(), 1);
    QVERIFY(!CardDriverLoaded);
    QVERIFY(std::all_of(std::begin(CardDriverEntries), std::end(CardDriverEntries),
                        [](void* e) { return e == nullptr; }));
    QVERIFY(boxes.asked.isEmpty());
}

// The driver warning's modal loop goes idle before the window is shown; a
// supporter that built its windows there would show the help window over
// nothing and centre it on a window that is not yet placed.
void TestSupporter::buildWaitsForTheWindow()
{
    PortRecorder ports(0xAA55);
    ScriptedAnswerer boxes;
    bool idleRanDuringBox = false;
    MsgBox::SetAnswerer([&](const MsgBox::Request& r) {
        boxes.asked.append(r);
        // As the box's own loop would: events are handled and the loop goes idle.
        idleRanDuringBox = loopUntil([] { return !TApplication::Instance()->OnIdle(); });
        return MsgBox::Result::Ok;
    });
    TMainForm form;
    QCOMPARE(boxes.asked.size(), 1);
    QVERIFY(idleRanDuringBox); // else this test would show nothing
    QVERIFY(!form.SetSup->HelpForm);
    QVERIFY(!form.SetSup->HeaderLabel);
    form.show();
    QVERIFY(
        loopUntil([&form] { return form.SetSup->HelpForm && form.SetSup->HelpForm->isVisible(); }));
    QCOMPARE(form.SetSup->HeaderLabel->text(), QStringLiteral("QL-4S Series Settings Program"));
}

// The help window is shown by the first tick, once, after which the timer
// stops; a timer left running or a help window shown at build time fails.
void TestSupporter::helpShownOnceByTheTimer()
{
    PortRecorder ports(0);
    TMainForm form;
    buildNow(form);
    TSetupSupporter* sup = form.SetSup;
    QVERIFY(sup->HelpPending());
    QVERIFY(sup->TimerWindow()->isActive());
    QCOMPARE(sup->TimerWindow()->interval(), 100);
    QVERIFY(!sup->HelpForm->isVisible());
    EventCounter shows(sup->HelpForm, QEvent::Show);
    QTRY_VERIFY(sup->HelpForm->isVisible());
    QCOMPARE(shows.count, 1);
    QVERIFY(!sup->HelpPending());
    QVERIFY(!sup->TimerWindow()->isActive());
    bool done = true;
    sup->IdleStart(TApplication::Instance(), done); // a second start builds nothing
    QCOMPARE(countTopLevel<THelpForm>(), 1);
    QVERIFY(!sup->TimerWindow()->isActive());
}

// The help document is compared whole: a lost blank, CR LF or piece, or a
// wrong name in any of the variants fails.
void TestSupporter::helpDocument_data()
{
    const QString head = QString::fromLatin1(kHead);
    const QString body = QString::fromLatin1(kBody);
    const QString note = QString::fromLatin1(kNote);
    const QString cards = QString::fromLatin1(kCards);
    const QString end = QStringLiteral("}");
    QTest::addColumn<bool>("series");
    QTest::addColumn<bool>("multiPort");
    QTest::addColumn<bool>("useB");
    QTest::addColumn<bool>("cardString");
    QTest::addColumn<QString>("company");
    QTest::addColumn<QString>("expected");
    QTest::newRow("setup window") << true << true << false << false << QStringLiteral("KELDO")
                                  << head + QString::fromLatin1(kTitle) + body + note + end;
    QTest::newRow("bSeries false") << false << true << false << false << QStringLiteral("KELDO")
                                   << head + QStringLiteral("KELDO QL-4S") + body + note + end;
    QTest::newRow("MultiPort false") << true << false << false << false << QStringLiteral("KELDO")
                                     << head + QString::fromLatin1(kTitle) + body + end;
    QTest::newRow("UseCardNameB") << true << true << true << false << QStringLiteral("KELDO")
                                  << head + QStringLiteral("KELDO QL-8S/M Series") + body + note +
                                         end;
    QTest::newRow("OnGetCardString assigned")
        << true << true << false << true << QStringLiteral("KELDO")
        << head + QString::fromLatin1(kTitle) + body + note + cards + end;
    QTest::newRow("UseCardNameB with card list")
        << true << false << true << true << QStringLiteral("KELDO")
        << head + QStringLiteral("KELDO QL-8S/M Series") + body +
               QString(cards).replace(QStringLiteral("QL-4S"), QStringLiteral("QL-8S/M")) + end;
    QTest::newRow("RTF characters in a name are escaped")
        << true << false << false << false << QStringLiteral("K{E}\\L\u00C9")
        << head + QStringLiteral("K\\{E\\}\\\\L\\u201? QL-4S Series") + body + end;
}

void TestSupporter::helpDocument()
{
    QFETCH(bool, series);
    QFETCH(bool, multiPort);
    QFETCH(bool, useB);
    QFETCH(bool, cardString);
    QFETCH(QString, company);
    QFETCH(QString, expected);
    TSetupSupporter sup(nullptr);
    sup.SetCompanyName(company);
    sup.SetCardNameA(QStringLiteral("QL-4S"));
    sup.SetCardNameB(QStringLiteral("QL-8S/M"));
    sup.SetbSeries(series);
    sup.SetMultiPort(multiPort);
    sup.SetUseCardNameB(useB);
    if (cardString)
        sup.OnGetCardString = [](QObject*, std::int32_t) { return QString(); };
    QCOMPARE(sup.HelpDocument(), expected);
}

// The help window shows the document as rich text: texts, sizes, bold runs
// and colours. Loading it as plain text, or losing a size or colour, fails.
void TestSupporter::helpRendering()
{
    PortRecorder ports(0);
    TMainForm form;
    buildNow(form);
    QTextEdit* rich = form.SetSup->HelpForm->HelpRich;
    QCOMPARE(form.SetSup->HelpDocument(), QString::fromLatin1(kHead) + QString::fromLatin1(kTitle) +
                                              QString::fromLatin1(kBody) +
                                              QString::fromLatin1(kNote) + QStringLiteral("}"));

    QStringList blocks;
    for (QTextBlock b = rich->document()->begin(); b.isValid(); b = b.next())
        blocks.append(b.text());
    const QString title = QStringLiteral("KELDO QL-4S Series Settings Program");
    QCOMPARE(blocks.mid(0, 14),
             (QStringList{title, QString(),
                          QStringLiteral("This program will help you configure the option jumpers "
                                         "and settings associated with this product. You should "
                                         "have the product in-hand when first using this program."),
                          QString(),
                          QStringLiteral("Yellow circles provide information on configuring "
                                         "jumpers and switches."),
                          QString(),
                          QStringLiteral("Blue circles are informational only. They provide "
                                         "information on standard and optional features of the "
                                         "product family."),
                          QString(),
                          QStringLiteral("Red circles handle calibration and types of "
                                         "configuration that require actually controlling the "
                                         "hardware device. Run this settings program again once "
                                         "the card is installed. Repeat the setup circles (using "
                                         "the same settings) to configure this program, then "
                                         "perform the calibration circles."),
                          QString(),
                          QStringLiteral("Mouse over the highlight circles to see configuration "
                                         "or information popups for setup, features, and "
                                         "calibration. Click a highlight circle to make its popup "
                                         "remain on-screen. You can have all or as many of these "
                                         "popups onscreen at the same time as you desire."),
                          QString(),
                          QStringLiteral("Note: Make sure to set the jumpers for each option group "
                                         "\u2014 the configuration options for each port are "
                                         "handled identically; this program only shows the setup "
                                         "once, but you need to perform this setup for each group "
                                         "of options on your device."),
                          QString()}));

    const QColor grey(64, 64, 64), yellow(255, 255, 64), blue(64, 64, 255), red(255, 64, 64);
    const QList<Run> runs = runsOf(*rich->document());
    auto find = [&runs](const QString& text) {
        for (const Run& r : runs)
            if (r.text == text)
                return r;
        return Run{QStringLiteral("<missing ") + text + QLatin1Char('>'), 0, false, QColor()};
    };
    struct Expect
    {
        QString text;
        double points;
        bool bold;
        QColor color;
    };
    const QList<Expect> expected = {
        {title, 16, true, grey},
        {QStringLiteral("Yellow circles"), 12, true, yellow},
        {QStringLiteral("Blue circles"), 12, true, blue},
        {QStringLiteral("Red circles"), 12, true, red},
        {QStringLiteral("setup circles"), 12, false, yellow},
        {QStringLiteral("calibration circles"), 12, false, red},
        {QStringLiteral("setup"), 12, false, yellow},
        {QStringLiteral("features"), 12, false, blue},
        {QStringLiteral("calibration"), 12, false, red},
        {QStringLiteral("Note:"), 16, true, grey},
    };
    for (const Expect& e : expected) {
        const Run r = find(e.text);
        QVERIFY2(r.text == e.text, qPrintable(r.text));
        QCOMPARE(r.points, e.points);
        QCOMPARE(r.bold, e.bold);
        QCOMPARE(r.color, e.color);
    }
    // Everything else is the body: 12 pt, not bold, dark grey, Verdana.
    for (const Run& r : runs) {
        if (std::any_of(expected.cbegin(), expected.cend(),
                        [&r](const Expect& e) { return e.text == r.text; }))
            continue;
        QVERIFY2(r.points == 12 && !r.bold && r.color == grey, qPrintable(r.text));
    }
    QTextCursor c(rich->document());
    c.setPosition(5);
    QCOMPARE(c.charFormat().fontFamilies().toStringList(), QStringList{QStringLiteral("Verdana")});
    QCOMPARE(rich->palette().color(QPalette::Base), QColor(0xDD, 0xDD, 0xDD));
    QVERIFY(rich->isReadOnly());
}

// The support text with the setup window's values, and the memo showing it
// with one empty line between the paragraphs.
void TestSupporter::supportText()
{
    PortRecorder ports(0);
    TMainForm form;
    buildNow(form);
    const QString text = QStringLiteral(
        "There are several ways to get technical support. First and fastest is to skim the "
        "relevant sections of the manual. However, some questions require personal assistance, "
        "and KELDO stands ready to provide that help. You can call us Monday to Friday, 8 a.m. to "
        "5 p.m. Pacific Time, at (555) 555-0147 for any of your product questions.\r\n\r\nIn "
        "order to provide the best and fastest support possible, we ask that you be at your "
        "computer when you call, and have the KELDO product manual and Software Master CD at "
        "hand.");
    QCOMPARE(form.SetSup->SupportText(), text);
    QPlainTextEdit* memo = form.SetSup->TechForm->TechMemo;
    QCOMPARE(memo->toPlainText(),
             QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QCOMPARE(memo->document()->blockCount(), 3);
    QVERIFY(memo->isReadOnly());
    QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
}

// The fitting rule: right and bottom edges are left + width and top + height.
void TestSupporter::fitToBounds_data()
{
    QTest::addColumn<QList<QRect>>("children");
    QTest::addColumn<QPoint>("shift");
    QTest::addColumn<QSize>("client");
    QTest::newRow("help window") << QList<QRect>{{0, 0, 305, 19},
                                                 {0, 24, 305, 73},
                                                 {0, 105, 173, 25}}
                                 << QPoint(0, 0) << QSize(305, 130);
    QTest::newRow("support window, 8 px margin")
        << QList<QRect>{{8, 8, 305, 89}, {165, 105, 73, 25}} << QPoint(-8, -8) << QSize(305, 122);
    QTest::newRow("installed-cards window")
        << QList<QRect>{{8, 8, 305, 89}, {123, 105, 73, 25}} << QPoint(-8, -8) << QSize(305, 122);
    QTest::newRow("child left of the origin")
        << QList<QRect>{{-5, 3, 10, 10}, {20, 20, 5, 5}} << QPoint(5, -3) << QSize(30, 22);
    QTest::newRow("no children") << QList<QRect>{} << QPoint(0, 0) << QSize(0, 0);
}

void TestSupporter::fitToBounds()
{
    QFETCH(QList<QRect>, children);
    QFETCH(QPoint, shift);
    QFETCH(QSize, client);
    const TFitResult fit = FitToBounds(children);
    QCOMPARE(fit.shift, shift);
    QCOMPARE(fit.client, client);
}

// Screen scaling of the help window: the smaller ratio, never below 1, halves
// rounded to even.
void TestSupporter::helpScale_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QSize>("client");
    QTest::newRow("800 x 600") << QSize(800, 600) << QSize(305, 138);
    QTest::newRow("1024 x 768") << QSize(1024, 768) << QSize(390, 177);
    QTest::newRow("1280 x 1024") << QSize(1280, 1024) << QSize(488, 221);
    QTest::newRow("640 x 480, raised to 1") << QSize(640, 480) << QSize(305, 138);
    QTest::newRow("1000 x 600, 172.5 to even") << QSize(1000, 600) << QSize(381, 172);
    QTest::newRow("1920 x 1080, height decides") << QSize(1920, 1080) << QSize(732, 331);
}

void TestSupporter::helpScale()
{
    QFETCH(QSize, screen);
    QFETCH(QSize, client);
    QCOMPARE(ScaleHelpClient(QSize(305, 138), screen), client);
}

// The windows as built: names, captions, fonts, stay-on-top and the fitted
// geometry. A margin left in place, a button not centred or a window without
// its flags fails.
void TestSupporter::windowGeometry()
{
    PortRecorder ports(0);
    TMainForm form;
    buildNow(form);
    THelpForm* help = form.SetSup->HelpForm;
    TTechForm* tech = form.SetSup->TechForm;

    QCOMPARE(help->objectName(), QStringLiteral("HelpForm"));
    QCOMPARE(help->windowTitle(), QStringLiteral("Instructions for Settings utility"));
    QVERIFY(help->isWindow());
    QVERIFY(help->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(help->HelpLabel->objectName(), QStringLiteral("HelpLabel"));
    QCOMPARE(help->HelpLabel->text(), QStringLiteral("How to use this program"));
    QCOMPARE(help->HelpLabel->font().family(), QStringLiteral("Verdana"));
    QCOMPARE(help->HelpLabel->font().pointSize(), 12);
    QVERIFY(help->HelpLabel->font().bold());
    QCOMPARE(help->HelpRich->objectName(), QStringLiteral("HelpRich"));
    QCOMPARE(help->HelpRich->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(help->HelpRich->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(help->StartButton->objectName(), QStringLiteral("StartButton"));
    QCOMPARE(help->StartButton->text(), QStringLiteral("Start"));

    const QSize screen = QGuiApplication::primaryScreen()->size();
    QCOMPARE(help->size(), ScaleHelpClient(QSize(305, 138), screen));
    if (HelpWindowScale(screen) == 1.0) {
        QCOMPARE(help->HelpLabel->geometry().topLeft(), QPoint(0, 0));
        QCOMPARE(help->HelpLabel->width(), 305);
        QVERIFY(help->HelpLabel->height() <= 24);
        QCOMPARE(help->HelpRich->geometry(), QRect(0, 24, 305, 73));
        QCOMPARE(help->StartButton->geometry(), QRect(66, 105, 173, 25));
    }

    QCOMPARE(tech->objectName(), QStringLiteral("TechForm"));
    QCOMPARE(tech->windowTitle(), QStringLiteral("Technical Support"));
    QVERIFY(tech->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(tech->TechMemo->objectName(), QStringLiteral("TechMemo"));
    QCOMPARE(tech->CloseButton->objectName(), QStringLiteral("CloseButton"));
    QCOMPARE(tech->CloseButton->text(), QStringLiteral("Close"));
    QCOMPARE(tech->size(), QSize(305, 122));
    QCOMPARE(tech->TechMemo->geometry(), QRect(0, 0, 305, 89));
    QCOMPARE(tech->CloseButton->geometry(), QRect(116, 97, 73, 25));
    QCOMPARE(tech->TechMemo->font(), tech->font());
}

// Resizing the help window: the view follows all four edges, Start keeps its
// distance from the bottom and stays centred, the label stays full width.
void TestSupporter::helpWindowResizes()
{
    PortRecorder ports(0);
    TMainForm form;
    buildNow(form);
    THelpForm* help = form.SetSup->HelpForm;
    help->show();
    QVERIFY(QTest::qWaitForWindowExposed(help));
    const QSize before = help->size();
    help->resize(before.width() + 95, before.height() + 62);
    QTRY_COMPARE(help->HelpRich->geometry(),
                 QRect(0, 24, before.width() + 95, before.height() + 62 - 24 - 41));
    QCOMPARE(help->StartButton->y(), help->height() - 8 - 25);
    QVERIFY(std::abs(help->StartButton->geometry().center().x() - help->width() / 2) <= 1);
    QCOMPARE(help->HelpLabel->width(), help->width());
}

// Default and cancel buttons: Enter and Escape in the help window press Start
// (even with the focus in the document), Escape hides the support window.
void TestSupporter::keys_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("toDocument");
    const QString help = QStringLiteral("help"), tech = QStringLiteral("tech");
    QTest::newRow("help, Enter") << help << int(Qt::Key_Return) << false;
    QTest::newRow("help, keypad Enter") << help << int(Qt::Key_Enter) << false;
    QTest::newRow("help, Escape") << help << int(Qt::Key_Escape) << false;
    QTest::newRow("help, Enter in the document") << help << int(Qt::Key_Return) << true;
    QTest::newRow("help, Escape in the document") << help << int(Qt::Key_Escape) << true;
    QTest::newRow("support, Escape") << tech << int(Qt::Key_Escape) << false;
    QTest::newRow("support, Escape in the memo") << tech << int(Qt::Key_Escape) << true;
}

void TestSupporter::keys()
{
    QFETCH(QString, window);
    QFETCH(int, key);
    QFETCH(bool, toDocument);
    PortRecorder ports(0);
    TMainForm form;
    buildNow(form);
    EventCounter presents(form.BoardImage1, WM_SHOWFIRSTHIGHLIGHT);
    THelpForm* help = form.SetSup->HelpForm;
    TTechForm* tech = form.SetSup->TechForm;
    QWidget* w = window == QLatin1String("help") ? static_cast<QWidget*>(help) : tech;
    QWidget* target =
        window == QLatin1String("help")
            ? (toDocument ? static_cast<QWidget*>(help->HelpRich) : help->StartButton)
            : (toDocument ? static_cast<QWidget*>(tech->TechMemo) : tech->CloseButton);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    const Qt::KeyboardModifiers mods = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
    QTest::keyClick(target, Qt::Key(key), mods);
    QVERIFY(!w->isVisible());
    QCOMPARE(presents.count, window == QLatin1String("help") ? 1 : 0);
}

// The Help menu shows the supporter's windows without blocking and without a
// second instance, again after they were closed, with their content kept.
void TestSupporter::helpMenuShowsTheOneWindow()
{
    PortRecorder ports(0);
    TMainForm form;
    buildNow(form);
    THelpForm* help = form.SetSup->HelpForm;
    TTechForm* tech = form.SetSup->TechForm;
    const QString document = help->HelpRich->toPlainText();

    form.Howtousethisprogram1->trigger();
    form.Howtousethisprogram1->trigger();
    QVERIFY(help->isVisible());
    QVERIFY(!help->isModal());
    QCOMPARE(countTopLevel<THelpForm>(), 1);
    help->close();
    QVERIFY(!help->isVisible());
    form.Howtousethisprogram1->trigger();
    QVERIFY(help->isVisible());
    QCOMPARE(help->HelpRich->toPlainText(), document);

    form.TechnicalSupport1->trigger();
    form.TechnicalSupport1->trigger();
    QVERIFY(tech->isVisible());
    QCOMPARE(countTopLevel<TTechForm>(), 1);
    tech->CloseButton->click();
    QVERIFY(!tech->isVisible());
    form.TechnicalSupport1->trigger();
    QVERIFY(tech->isVisible());
    QCOMPARE(countTopLevel<TTechForm>(), 1);
}

// Start hides the help window and presents the setup window's first
// highlight through its board image.
void TestSupporter::startButton()
{
    PortRecorder ports(0);
    TMainForm form;
    buildNow(form);
    THelpForm* help = form.SetSup->HelpForm;
    QTRY_VERIFY(help->isVisible());
    EventCounter presents(form.BoardImage1, WM_SHOWFIRSTHIGHLIGHT);
    QTest::mouseClick(help->StartButton, Qt::LeftButton);
    QVERIFY(!help->isVisible());
    QCOMPARE(presents.count, 1);
}

namespace {
class TDerivedImage : public TBoardImage
{
public:
    using TBoardImage::TBoardImage;
};
} // namespace

// Start walks the main window's direct children in order and stops at the
// first board image, a derived class included; without one it only hides.
void TestSupporter::startButtonFindsFirstBoardImage()
{
    for (const bool withImages : {true, false}) {
        QMainWindow host;
        auto* client = new QWidget(&host);
        host.setCentralWidget(client);
        auto* inner = new QWidget(client);
        auto* nested = new TBoardImage(inner); // not a direct child
        new QLabel(client);
        TBoardImage* first = withImages ? new TDerivedImage(client) : nullptr;
        TBoardImage* second = withImages ? new TBoardImage(client) : nullptr;
        EventCounter nestedCount(nested, WM_SHOWFIRSTHIGHLIGHT);
        EventCounter firstCount(first ? static_cast<QObject*>(first) : client,
                                WM_SHOWFIRSTHIGHLIGHT);
        EventCounter secondCount(second ? static_cast<QObject*>(second) : client,
                                 WM_SHOWFIRSTHIGHLIGHT);
        auto* sup = new TSetupSupporter(&host);
        sup->BuildWindows();
        sup->HelpForm->show();
        sup->HelpForm->StartButton->click();
        QVERIFY(!sup->HelpForm->isVisible());
        QCOMPARE(nestedCount.count, 0);
        QCOMPARE(firstCount.count, withImages ? 1 : 0);
        QCOMPARE(secondCount.count, 0);
    }
}

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    RegisterDesignFonts();
    TestSupporter t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_supporter.moc"
