#include "Application.h"
#include "PortRecorder.h"
#include "SetupCtrls.h"
#include "template.h"

#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <memory>

Q_DECLARE_METATYPE(THighlightType)

namespace {

bool anyWindowVisible()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.cbegin(), windows.cend(), [](QWidget* w) { return w->isVisible(); });
}

// The setup window shown as at start-up, without the supporter's start
// routine, whose help window would come and go in the middle of a test.
std::unique_ptr<TMainForm> startSetupWindow()
{
    auto form = std::make_unique<TMainForm>();
    if (TApplication* app = TApplication::Instance())
        app->SetOnIdle(nullptr);
    form->showMaximized();
    return form;
}

void sendShowFirst(TBoardImage* image)
{
    QEvent e(WM_SHOWFIRSTHIGHLIGHT);
    QCoreApplication::sendEvent(image, &e);
}

} // namespace

class TestBoardView : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void showFirstPresentsFirst_data();
    void showFirstPresentsFirst();
    void ringsStandOverThePhotograph_data();
    void ringsStandOverThePhotograph();
    void panelsStayOffTheWindow();
    void startOpensControlBaseAddressPinned();
    void hoveringPortResourcesShowsItsPanel();
};

void TestBoardView::init()
{
    QCursor::setPos(799, 799);
}

void TestBoardView::cleanup()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        w->hide();
    QTRY_VERIFY(!anyWindowVisible());
}

// The help window's Start button relies on the message: enter, click, leave
// on First, in that order; without First it must do nothing at all.
void TestBoardView::showFirstPresentsFirst_data()
{
    QTest::addColumn<bool>("withFirst");
    QTest::newRow("with First") << true;
    QTest::newRow("without First") << false;
}

void TestBoardView::showFirstPresentsFirst()
{
    QFETCH(bool, withFirst);
    QWidget window;
    auto* image = new TBoardImage(&window);
    auto* first = new TBoardHighlight(image);
    auto* other = new TBoardHighlight(image);
    first->SetTitle("&First");
    other->SetTitle("&Other");
    first->SetCreatePopup(false);
    other->SetCreatePopup(false);
    QStringList calls;
    first->OnClick = [&](QObject*) { calls << (first->Entered() ? "click after enter" : "click"); };
    other->OnClick = [&](QObject*) { calls << "other"; };
    if (withFirst)
        image->SetFirst(first);
    sendShowFirst(image);
    QCOMPARE(calls, withFirst ? QStringList{"click after enter"} : QStringList{});
    QCOMPARE(first->Entered(), withFirst);
    QVERIFY(!other->Entered());
}

// The layout's five rings must sit at their table places inside the board
// image, in creation order, rendered from the photograph beneath them.
void TestBoardView::ringsStandOverThePhotograph_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<THighlightType>("type");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("panel");
    QTest::newRow("BaseHighlight")
        << 0 << "BaseHighlight" << QRect(32, 304, 49, 21) << htSettings << "&Control Base Address"
        << "BasePanel";
    QTest::newRow("ClockHighlight")
        << 1 << "ClockHighlight" << QRect(95, 304, 13, 21) << htSettings << "&Baud Clock Rate"
        << "ClockPanel";
    QTest::newRow("COMHighlight") << 2 << "COMHighlight" << QRect(5, 64, 44, 217) << htOptions
                                  << "Serial Connector #1"
                                  << "COMPanel0";
    QTest::newRow("DFHighlight") << 3 << "DFHighlight" << QRect(82, 304, 13, 21) << htSettings
                                 << "Port &Disable"
                                 << "DFPanel";
    QTest::newRow("COMBaseHighlight")
        << 4 << "COMBaseHighlight" << QRect(156, 178, 84, 84) << htSettings << "&Port Resources"
        << "COMBasePanel";
}

void TestBoardView::ringsStandOverThePhotograph()
{
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(QRect, bounds);
    QFETCH(THighlightType, type);
    QFETCH(QString, title);
    QFETCH(QString, panel);
    PortRecorder ports(0);
    auto form = startSetupWindow();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));

    QList<TBoardHighlight*> rings;
    for (QObject* child : form->BoardImage1->children())
        if (auto* h = dynamic_cast<TBoardHighlight*>(child))
            rings.append(h);
    QCOMPARE(rings.size(), 5);
    TBoardHighlight* h = rings[index];
    QCOMPARE(h->objectName(), name);
    QCOMPARE(h->geometry(), bounds);
    QCOMPARE(h->HighlightType(), type);
    QCOMPARE(h->Title(), title);
    QVERIFY(h->CreatePopup());
    QVERIFY(h->RadioPanel() != nullptr);
    QCOMPARE(h->RadioPanel()->objectName(), panel);
    QCOMPARE(form->BoardImage1->First(), form->BaseHighlight);
    QTRY_VERIFY(h->ImagesBuilt());
    QVERIFY(h->isVisible());

    // Outside the ellipse a look holds the photograph's own pixels there.
    QImage photo(bounds.size(), QImage::Format_RGB32);
    {
        QPainter p(&photo);
        p.translate(-bounds.topLeft());
        form->BoardImage1->PaintPicture(p, bounds);
    }
    QCOMPARE(h->DimImage().pixel(0, 0), photo.pixel(0, 0));
    QCOMPARE(h->DimImage().pixel(bounds.width() - 1, bounds.height() - 1),
             photo.pixel(bounds.width() - 1, bounds.height() - 1));
    QVERIFY(h->DimImage() != photo);
}

// The option panels live in the pop-ups only; the setup window never shows
// them, also after it has been painted.
void TestBoardView::panelsStayOffTheWindow()
{
    PortRecorder ports(0);
    auto form = startSetupWindow();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QTRY_VERIFY(form->COMBaseHighlight->ImagesBuilt());
    for (TRadioPanel* p :
         {form->ClockPanel, form->BasePanel, form->COMPanel0, form->COMBasePanel, form->DFPanel}) {
        QCOMPARE(p->parentWidget(), form->Client());
        QVERIFY2(!p->isVisible(), qPrintable(p->objectName()));
        QVERIFY(!p->InPopup());
    }
}

// The help window's Start button must bring up "&Control Base Address"
// pinned, focused and ticked in the menu, as if pointed at and clicked.
void TestBoardView::startOpensControlBaseAddressPinned()
{
    PortRecorder ports(0);
    auto form = startSetupWindow();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QTRY_VERIFY(form->COMBaseHighlight->ImagesBuilt());
    sendShowFirst(form->BoardImage1);
    TPopupForm* popup = form->BaseHighlight->Popup();
    QVERIFY(popup);
    QVERIFY(popup->isVisible());
    QCOMPARE(popup->windowTitle(), QStringLiteral("Control Base Address"));
    QCOMPARE(form->BasePanel->parentWidget(), popup);
    QVERIFY(form->BaseHighlight->Pinned());
    QAction* entry = form->findChild<QAction*>("ControlBaseAddress1");
    QVERIFY(entry && entry->isChecked());
    QTRY_COMPARE(QApplication::activeWindow(), popup);
    for (TBoardHighlight* other :
         {form->ClockHighlight, form->COMHighlight, form->DFHighlight, form->COMBaseHighlight})
        QVERIFY(other->Popup() == nullptr);
}

// A real hover over the square ring opens "Port Resources" with its panel,
// placed from the panel's layout position.
void TestBoardView::hoveringPortResourcesShowsItsPanel()
{
    PortRecorder ports(0);
    auto form = startSetupWindow();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    TBoardHighlight* h = form->COMBaseHighlight;
    QTRY_VERIFY(h->ImagesBuilt());
    QCursor::setPos(h->mapToGlobal(h->rect().center()));
    QTRY_VERIFY(h->Popup() && h->Popup()->isVisible());
    TPopupForm* popup = h->Popup();
    QCOMPARE(popup->windowTitle(), QStringLiteral("Port Resources"));
    QCOMPARE(form->COMBasePanel->parentWidget(), popup);
    QCOMPARE(form->COMBasePanel->geometry(), QRect(0, 0, 265, 169));
    QCOMPARE(popup->StatusMemo->height(), 124);
    QVERIFY(form->COMBasePanel->isVisible());
    TBoardImage* image = form->BoardImage1;
    const QPoint laidOut(image->x() - (image->OriginLeft() - 536),
                         image->y() - (image->OriginTop() - 8));
    const QRect outer = popup->frameGeometry();
    QCOMPARE(outer.topLeft(), TPopupForm::KeepOnScreen(QRect(laidOut, outer.size()),
                                                       popup->screen()->geometry().size()));
    QCursor::setPos(799, 799);
    QTRY_VERIFY(!popup->isVisible());
}

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestBoardView t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_boardview.moc"
