#include "Application.h"
#include "PortRecorder.h"
#include "ScriptedAnswerer.h"
#include "SetupCtrls.h"
#include "template.h"

#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>

class TestMainForm : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void driverProbe_data();
    void driverProbe();
    void windowAndMenu();
    void exitClosesWithoutQuestion();
};

namespace {
bool anyWindowVisible()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.cbegin(), windows.cend(), [](QWidget* w) { return w->isVisible(); });
}
} // namespace

void TestMainForm::cleanup() { QTRY_VERIFY(!anyWindowVisible()); }

// The probe must test exactly the low 16 bits against 0xAA55, warn once before
// the window shows, and let start-up go on whatever the answer.
void TestMainForm::driverProbe_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("warned");
    QTest::newRow("AA55, OK") << 0xAA55u << int(MsgBox::Result::Ok) << true;
    QTest::newRow("AA55, Cancel") << 0xAA55u << int(MsgBox::Result::Cancel) << true;
    QTest::newRow("1AA55, upper bits ignored") << 0x1AA55u << int(MsgBox::Result::Ok) << true;
    QTest::newRow("0000") << 0x0000u << int(MsgBox::Result::Ok) << false;
    QTest::newRow("00FF") << 0x00FFu << int(MsgBox::Result::Ok) << false;
    QTest::newRow("AA54") << 0xAA54u << int(MsgBox::Result::Ok) << false;
    QTest::newRow("AA56") << 0xAA56u << int(MsgBox::Result::Ok) << false;
    QTest::newRow("2A55") << 0x2A55u << int(MsgBox::Result::Ok) << false;
}

void TestMainForm::driverProbe()
{
    QFETCH(quint32, value);
    QFETCH(int, answer);
    QFETCH(bool, warned);
    PortRecorder ports(value);
    ScriptedAnswerer boxes;
    bool windowVisibleAtBox = true;
    MsgBox::SetAnswerer([&](const MsgBox::Request& r) {
        boxes.asked.append(r);
        windowVisibleAtBox = anyWindowVisible();
        return MsgBox::Result(answer);
    });
    TMainForm form;
    QCOMPARE(ports.reads, QList<std::uint32_t>{0x61});
    QCOMPARE(boxes.asked.size(), warned ? 1 : 0);
    if (warned) {
        const MsgBox::Request& r = boxes.asked[0];
        QCOMPARE(r.text, QStringLiteral("DOVODUZ.SYS not detected. Please copy DOVODUZ.SYS into "
                                        "[NT]/system32/drivers and re-run this setup program."));
        QCOMPARE(r.caption, QStringLiteral("Warning"));
        QCOMPARE(r.buttons, MsgBox::Buttons::OkCancel);
        QCOMPARE(r.icon, MsgBox::Icon::None);
        QVERIFY(!windowVisibleAtBox);
    }
    form.showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(form.isMaximized());
    QCOMPARE(boxes.asked.size(), warned ? 1 : 0);
}

// Captions and names are what later parts and users rely on.
void TestMainForm::windowAndMenu()
{
    PortRecorder ports(0);
    TMainForm form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Setup"));
    const QList<QAction*> top = form.MainMenu1->actions();
    QCOMPARE(top.size(), 2);
    QCOMPARE(top[0]->text(), QStringLiteral("&File"));
    QCOMPARE(top[0]->menu()->objectName(), QStringLiteral("File1"));
    QCOMPARE(top[1]->text(), QStringLiteral("&Help"));
    QCOMPARE(top[1]->menu()->objectName(), QStringLiteral("Help1"));
    const QList<QAction*> file = top[0]->menu()->actions();
    QCOMPARE(file.size(), 1);
    QCOMPARE(file[0]->text(), QStringLiteral("&Exit"));
    QCOMPARE(file[0]->objectName(), QStringLiteral("Exit2"));
    const QList<QAction*> help = top[1]->menu()->actions();
    QCOMPARE(help.size(), 2);
    QCOMPARE(help[0]->text(), QStringLiteral("H&ow to use this program"));
    QCOMPARE(help[0]->objectName(), QStringLiteral("Howtousethisprogram1"));
    QCOMPARE(help[1]->text(), QStringLiteral("&Technical Support"));
    QCOMPARE(help[1]->objectName(), QStringLiteral("TechnicalSupport1"));
    QCOMPARE(form.BoardImage1->geometry().size(), QSize(400, 400));
    QVERIFY(form.BoardImage1->Stretch());
    QCOMPARE(form.BoardImage1->Picture().Width(), 600);
    QCOMPARE(form.BoardImage1->Picture().Height(), 618);
}

void TestMainForm::exitClosesWithoutQuestion()
{
    PortRecorder ports(0);
    ScriptedAnswerer boxes;
    TMainForm form;
    form.showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.Exit2->trigger();
    QVERIFY(!form.isVisible());
    QVERIFY(boxes.asked.isEmpty());
}

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestMainForm t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_mainform.moc"
