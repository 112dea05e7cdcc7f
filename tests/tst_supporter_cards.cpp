#include "Application.h"
#include "Fonts.h"
#include "LLRURERU.h"
#include "ScriptedAnswerer.h"
#include "SetupCtrls.h"

#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

// Runs with the stand-in card driver library first on the library path; its
// GetNumCards answers RURERU_STUB_NUM_CARDS.
class TestSupporterCards : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void cardList_data();
    void cardList();
    void windowAndMenuEntry();
    void noMenuEntry_data();
    void noMenuEntry();
};

namespace {

bool anyWindowVisible()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.cbegin(), windows.cend(), [](QWidget* w) { return w->isVisible(); });
}

// A main window with a menu bar ("&Edit", then the given file caption with
// "&Exit" under it) and a supporter that describes installed cards.
struct Host
{
    explicit Host(const QString& fileCaption = QStringLiteral("&File"), bool withMenu = true)
    {
        window.setCentralWidget(new QWidget(&window));
        if (withMenu) {
            window.menuBar()->addMenu(QStringLiteral("&Edit"));
            file = window.menuBar()->addMenu(fileCaption);
            exit = file->addAction(QStringLiteral("&Exit"));
        }
        sup = new TSetupSupporter(&window);
        sup->SetCompanyName(QStringLiteral("KELDO"));
        sup->SetCardNameA(QStringLiteral("QL-4S"));
        sup->OnGetCardString = [this](QObject* sender, std::int32_t index) {
            senders.append(sender);
            asked.append(index);
            visibleAtQuery = visibleAtQuery && sup->PCIForm && sup->PCIForm->isVisible();
            return descriptions.value(index);
        };
    }

    QMainWindow window;
    QMenu* file = nullptr;
    QAction* exit = nullptr;
    TSetupSupporter* sup = nullptr;
    QStringList descriptions;
    QList<std::int32_t> asked;
    QList<QObject*> senders;
    bool visibleAtQuery = true;
};

} // namespace

void TestSupporterCards::cleanup()
{
    qunsetenv("RURERU_STUB_NUM_CARDS");
    QTRY_VERIFY(!anyWindowVisible());
}

// The card query: every index asked in order, empty descriptions dropped, and
// the "No ..." forms when the count is 0 or less or nothing is described.
// Treating a negative count as cards, keeping empty lines, or a wrong header
// form fails.
void TestSupporterCards::cardList_data()
{
    QTest::addColumn<QByteArray>("count");
    QTest::addColumn<QStringList>("descriptions");
    QTest::addColumn<bool>("series");
    QTest::addColumn<int>("asked");
    QTest::addColumn<QString>("memo");
    QTest::addColumn<QString>("header");
    QTest::addColumn<bool>("found");
    const QString none = QStringLiteral("No Card Found");
    QTest::newRow("three cards, the second description empty")
        << QByteArray("3")
        << QStringList{QStringLiteral("QL-4S at 300"), QString(), QStringLiteral("QL-4S at 2A0")}
        << true << 3 << QStringLiteral("QL-4S at 300\nQL-4S at 2A0")
        << QStringLiteral("QL-4S Series Settings Program") << true;
    QTest::newRow("no card") << QByteArray("0") << QStringList{} << true << 0 << none
                             << QStringLiteral("No QL-4S Series Card Found") << false;
    QTest::newRow("negative count")
        << QByteArray("-4") << QStringList{QStringLiteral("x")} << true << 0 << none
        << QStringLiteral("No QL-4S Series Card Found") << false;
    QTest::newRow("no card, bSeries false") << QByteArray("0") << QStringList{} << false << 0
                                            << none << QStringLiteral("No QL-4S Found") << false;
    QTest::newRow("every description empty")
        << QByteArray("2") << QStringList{QString(), QString()} << true << 2 << none
        << QStringLiteral("No QL-4S Series Card Found") << false;
}

void TestSupporterCards::cardList()
{
    QFETCH(QByteArray, count);
    QFETCH(QStringList, descriptions);
    QFETCH(bool, series);
    QFETCH(int, asked);
    QFETCH(QString, memo);
    QFETCH(QString, header);
    QFETCH(bool, found);
    qputenv("RURERU_STUB_NUM_CARDS", count);
    ScriptedAnswerer boxes;
    Host host;
    host.descriptions = descriptions;
    host.sup->SetbSeries(series);
    host.sup->BuildWindows();

    QList<std::int32_t> indexes;
    for (int i = 0; i < asked; ++i)
        indexes.append(i);
    QCOMPARE(host.asked, indexes);
    QVERIFY(std::all_of(host.senders.cbegin(), host.senders.cend(),
                        [&host](QObject* s) { return s == host.sup; }));
    QVERIFY(host.visibleAtQuery);
    QCOMPARE(host.sup->PCIForm->PCIMemo->toPlainText(), memo);
    QCOMPARE(host.sup->HeaderLabel->text(), header);
    QCOMPARE(host.sup->CardFound(), found);
    QVERIFY(CardDriverLoaded);
    QVERIFY(boxes.asked.isEmpty());
}

// The installed-cards window and its File-menu entry: names, captions, font,
// fitted geometry (Close placed from the new window's width, not re-centred),
// shown at once, hidden by Close and Escape, shown again by the entry.
void TestSupporterCards::windowAndMenuEntry()
{
    qputenv("RURERU_STUB_NUM_CARDS", "1");
    Host host;
    host.descriptions = QStringList{QStringLiteral("QL-4S at 300")};
    host.sup->BuildWindows();
    TPCIForm* pci = host.sup->PCIForm;
    QVERIFY(pci->isVisible());
    QCOMPARE(pci->parentWidget(), &host.window);
    QCOMPARE(pci->objectName(), QStringLiteral("PCIForm"));
    QCOMPARE(pci->windowTitle(), QStringLiteral("QL-4S Cards installed"));
    QVERIFY(pci->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(pci->PCIMemo->objectName(), QStringLiteral("PCIMemo"));
    QCOMPARE(pci->PCIMemo->font().family(), QStringLiteral("Tahoma"));
    QCOMPARE(pci->PCIMemo->font().pointSize(), 10);
    QVERIFY(pci->PCIMemo->font().bold());
    QVERIFY(pci->PCIMemo->isReadOnly());
    QCOMPARE(pci->CloseButton->objectName(), QStringLiteral("CloseButton"));
    QCOMPARE(pci->size(), QSize(305, 122));
    QCOMPARE(pci->PCIMemo->geometry(), QRect(0, 0, 305, 89));
    QCOMPARE(pci->CloseButton->geometry(), QRect(115, 97, 73, 25));

    const QList<QAction*> entries = host.file->actions();
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries[0]->objectName(), QStringLiteral("DisplayPCI"));
    QCOMPARE(entries[0]->text(), QStringLiteral("Display QL-4S Cards Installed"));
    QCOMPARE(entries[1], host.exit);
    QCOMPARE(entries[0]->parent(), &host.window);

    QVERIFY(QTest::qWaitForWindowExposed(pci));
    pci->CloseButton->click();
    QVERIFY(!pci->isVisible());
    entries[0]->trigger();
    QVERIFY(pci->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(pci));
    QTest::keyClick(pci->PCIMemo, Qt::Key_Escape);
    QVERIFY(!pci->isVisible());
    entries[0]->trigger();
    QVERIFY(pci->isVisible());
    pci->close();
}

// Only a top-level entry captioned exactly "&File" gets the entry; without a
// match, or without a menu bar, the rest is built all the same.
void TestSupporterCards::noMenuEntry_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("withMenu");
    QTest::newRow("File without ampersand") << QStringLiteral("File") << true;
    QTest::newRow("&file, other case") << QStringLiteral("&file") << true;
    QTest::newRow("no menu bar") << QString() << false;
}

void TestSupporterCards::noMenuEntry()
{
    QFETCH(QString, caption);
    QFETCH(bool, withMenu);
    qputenv("RURERU_STUB_NUM_CARDS", "1");
    ScriptedAnswerer boxes;
    Host host(caption, withMenu);
    host.descriptions = QStringList{QStringLiteral("QL-4S at 300")};
    host.sup->BuildWindows();
    QVERIFY(!host.window.findChild<QAction*>(QStringLiteral("DisplayPCI")));
    if (host.file)
        QCOMPARE(host.file->actions(), QList<QAction*>{host.exit});
    QVERIFY(!withMenu == !host.window.menuWidget());
    QVERIFY(host.sup->PCIForm && host.sup->PCIForm->isVisible());
    QCOMPARE(host.sup->PCIForm->PCIMemo->toPlainText(), QStringLiteral("QL-4S at 300"));
    QVERIFY(host.sup->HelpForm && host.sup->TechForm);
    QVERIFY(boxes.asked.isEmpty());
    host.sup->PCIForm->close();
}

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    RegisterDesignFonts();
    TestSupporterCards t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_supporter_cards.moc"
