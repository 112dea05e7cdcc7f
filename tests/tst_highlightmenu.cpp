#include "Application.h"
#include "HighlightMenu.h"
#include "PortRecorder.h"
#include "SetupCtrls.h"
#include "template.h"

#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <memory>

Q_DECLARE_METATYPE(THighlightType)

namespace {

bool anyWindowVisible()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.cbegin(), windows.cend(), [](QWidget* w) { return w->isVisible(); });
}

QStringList captions(const QList<QAction*>& actions)
{
    QStringList out;
    for (const QAction* a : actions)
        out << a->text();
    return out;
}

QStringList names(const QList<QAction*>& actions)
{
    QStringList out;
    for (const QAction* a : actions)
        out << a->objectName();
    return out;
}

// The setup window after its first paint, without the supporter's start
// routine (its help window would come and go in the middle of a test).
struct SetupWindow
{
    PortRecorder ports{0};
    std::unique_ptr<TMainForm> form;

    bool start()
    {
        form = std::make_unique<TMainForm>();
        if (TApplication* app = TApplication::Instance())
            app->SetOnIdle(nullptr);
        form->showMaximized();
        return QTest::qWaitForWindowExposed(form.get()) &&
               QTest::qWaitFor([this] { return form->COMBaseHighlight->ImagesBuilt(); });
    }

    QAction* entry(const QString& name) const { return form->findChild<QAction*>(name); }
};

// A plain window with its own menu bar and a board image naming it.
struct MenuHost
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QMenuBar* bar = nullptr;
    TBoardImage* image = nullptr;

    explicit MenuHost(const QStringList& topItems)
    {
        window->resize(300, 300);
        bar = new QMenuBar(window.get());
        for (const QString& caption : topItems)
            bar->addMenu(caption);
        image = new TBoardImage(window.get());
        image->SetCenterOnForm(false);
        image->SetAutoSize(false);
        image->setGeometry(0, 30, 200, 200);
        image->SetMenu(bar);
    }

    TBoardHighlight* add(const QString& title, THighlightType type = htSettings)
    {
        auto* h = new TBoardHighlight(image);
        h->setGeometry(10 + 20 * int(image->children().size()), 10, 15, 15);
        h->SetHighlightType(type);
        h->SetTitle(title);
        return h;
    }

    bool paint()
    {
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            return false;
        return QTest::qWaitFor([this] {
            for (QObject* c : image->children())
                if (auto* h = dynamic_cast<TBoardHighlight*>(c); h && !h->ImagesBuilt())
                    return false;
            return true;
        });
    }
};

} // namespace

class TestHighlightMenu : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void setupWindowMenuAfterFirstPaint();
    void previousAndNextWrapWithinTheGroup();
    void choosingAnEntryPinsThenCloses();
    void componentNames();
    void groupsKeepTheirOrderWithoutHelp();
    void targetWithoutClickActionOpensNothing();
};

void TestHighlightMenu::init()
{
    QCursor::setPos(799, 799);
}

void TestHighlightMenu::cleanup()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        w->hide();
    QTRY_VERIFY(!anyWindowVisible());
}

// Groups, captions, names and order are what users and Previous/Next see;
// any slip (a second group, a wrong place, a clashing name) shows here.
void TestHighlightMenu::setupWindowMenuAfterFirstPaint()
{
    SetupWindow s;
    QVERIFY(s.start());
    const QList<QAction*> top = s.form->MainMenu1->actions();
    QCOMPARE(captions(top), (QStringList{"&File", "&Settings", "&Options", "&Help"}));

    QMenu* settings = s.form->findChild<QMenu*>("Settings1");
    QVERIFY(settings);
    QCOMPARE(settings->menuAction(), top[1]);
    QCOMPARE(captions(settings->actions()),
             (QStringList{"&Control Base Address", "&Baud Clock Rate", "Port &Disable",
                          "&Port Resources"}));
    QCOMPARE(names(settings->actions()), (QStringList{"ControlBaseAddress1", "BaudClockRate1",
                                                      "PortDisable1", "PortResources1"}));
    QMenu* options = s.form->findChild<QMenu*>("Options1");
    QVERIFY(options);
    QCOMPARE(options->menuAction(), top[2]);
    QCOMPARE(captions(options->actions()), QStringList{"Serial Connector #1"});
    QCOMPARE(names(options->actions()), QStringList{"SerialConnector11"});
    for (const QAction* a : settings->actions() + options->actions())
        QVERIFY(!a->isChecked());
    QCOMPARE(s.form->BaseHighlight->HostMenu(), s.form->MainMenu1);
}

// Previous and Next step through the group's entries and wrap at both ends;
// a group of one reopens the same window.
void TestHighlightMenu::previousAndNextWrapWithinTheGroup()
{
    SetupWindow s;
    QVERIFY(s.start());
    TMainForm& f = *s.form;
    s.entry("PortDisable1")->trigger();
    QVERIFY(f.DFHighlight->Popup());
    QVERIFY(f.DFHighlight->Popup()->isVisible());
    QVERIFY(f.DFHighlight->Pinned());
    QVERIFY(s.entry("PortDisable1")->isChecked());

    struct Step
    {
        TBoardHighlight* from;
        bool next;
        TBoardHighlight* to;
        const char* entry;
    };
    const Step steps[] = {
        {f.DFHighlight, true, f.COMBaseHighlight, "PortResources1"},
        {f.COMBaseHighlight, true, f.BaseHighlight, "ControlBaseAddress1"},
        {f.BaseHighlight, false, f.COMBaseHighlight, "PortResources1"},
    };
    for (const Step& step : steps) {
        TPopupForm* from = step.from->Popup();
        (step.next ? from->NextButton : from->PreviousButton)->click();
        QVERIFY(!from->isVisible());
        QVERIFY(step.to->Popup());
        QVERIFY(step.to->Popup()->isVisible());
        QVERIFY(step.to->Pinned());
        QVERIFY(s.entry(step.entry)->isChecked());
        int checked = 0;
        for (const QAction* a : f.findChild<QMenu*>("Settings1")->actions())
            checked += a->isChecked();
        QCOMPARE(checked, 1);
    }
    QCOMPARE(f.COMBaseHighlight->Popup()->windowTitle(), QStringLiteral("Port Resources"));

    s.entry("SerialConnector11")->trigger();
    TPopupForm* serial = f.COMHighlight->Popup();
    QVERIFY(serial && serial->isVisible());
    serial->NextButton->click();
    QVERIFY(serial->isVisible());
    QVERIFY(f.COMHighlight->Pinned());
    QVERIFY(s.entry("SerialConnector11")->isChecked());
    serial->PreviousButton->click();
    QVERIFY(serial->isVisible());
}

// The entry toggles: open (even unpinned) means pin, pinned means close; the
// check mark follows the pin.
void TestHighlightMenu::choosingAnEntryPinsThenCloses()
{
    SetupWindow s;
    QVERIFY(s.start());
    TBoardHighlight* h = s.form->ClockHighlight;
    QAction* entry = s.entry("BaudClockRate1");
    entry->trigger();
    QVERIFY(h->Popup());
    QVERIFY(h->Popup()->isVisible());
    QVERIFY(h->Pinned());
    QVERIFY(entry->isChecked());
    entry->trigger();
    QVERIFY(!h->Popup()->isVisible());
    QVERIFY(!entry->isChecked());
    QVERIFY(!h->Entered());

    h->MouseEnter(false); // open, not pinned
    QVERIFY(h->Popup()->isVisible());
    QVERIFY(!h->Pinned());
    QVERIFY(!entry->isChecked());
    entry->trigger();
    QVERIFY(h->Popup()->isVisible());
    QVERIFY(h->Pinned());
    QVERIFY(entry->isChecked());
    h->Popup()->DoneButton->click();
    QVERIFY(!entry->isChecked());
}

// Names take the smallest free number among all the window's components,
// and a title without identifier characters still gets a valid name.
void TestHighlightMenu::componentNames()
{
    MenuHost host({"&File", "&Help"});
    auto* taken = new QObject(host.window.get());
    taken->setObjectName("Settings1");
    auto* deep = new QObject(host.image);
    deep->setObjectName("Port1");
    host.add("Port");
    host.add("#1");
    host.add("", htOptions);
    QVERIFY(host.paint());
    QMenu* settings = host.window->findChild<QMenu*>("Settings2");
    QVERIFY(settings);
    QCOMPARE(names(settings->actions()), (QStringList{"Port2", "Item1"}));
    QCOMPARE(captions(settings->actions()), (QStringList{"Port", "#1"}));
    // An empty title makes its group, but no entry.
    QMenu* options = host.window->findChild<QMenu*>("Options1");
    QVERIFY(options);
    QVERIFY(options->actions().isEmpty());
    QCOMPARE(HighlightMenu::EntryStem(""), QStringLiteral("Item"));
}

// Whichever group comes first, they stand Settings, Calibration, Options,
// also at the end of a menu without "&Help".
void TestHighlightMenu::groupsKeepTheirOrderWithoutHelp()
{
    MenuHost host({"&File"});
    host.add("&Info", htOptions);
    host.add("&Trim", htCalibration);
    host.add("&Jumper", htSettings);
    host.add("&More info", htOptions);
    QVERIFY(host.paint());
    QCOMPARE(captions(host.bar->actions()),
             (QStringList{"&File", "&Settings", "&Calibration", "&Options"}));
    QMenu* options = host.window->findChild<QMenu*>("Options1");
    QCOMPARE(captions(options->actions()), (QStringList{"&Info", "&More info"}));
    QCOMPARE(host.window->findChildren<QMenu*>("Options2").size(), 0);
}

// An item in the group that no highlight made has no click action: stepping
// to it closes the window and opens nothing.
void TestHighlightMenu::targetWithoutClickActionOpensNothing()
{
    MenuHost host({"&File", "&Help"});
    TBoardHighlight* h = host.add("&Only");
    QVERIFY(host.paint());
    QMenu* settings = host.window->findChild<QMenu*>("Settings1");
    int foreignTriggered = 0;
    QAction* foreign = settings->addAction("Foreign");
    connect(foreign, &QAction::triggered, this, [&] { ++foreignTriggered; });
    h->MenuItemClick(h);
    QVERIFY(h->Popup()->isVisible());
    h->Popup()->NextButton->click();
    QVERIFY(!h->Popup()->isVisible());
    QCOMPARE(foreignTriggered, 1);
    QVERIFY(!h->Entered());
}

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestHighlightMenu t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_highlightmenu.moc"
