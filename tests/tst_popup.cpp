#include "SetupCtrls.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <memory>

Q_DECLARE_METATYPE(THighlightType)

// Offscreen screen: 800 x 800. The host window covers (0, 0)-(304, 304) with
// its frame; panels are laid out at x >= 400, so pop-ups never overlap it.
namespace {

constexpr QPoint kOutside(700, 50); // on no window at all

struct Host
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    TBoardImage* image = nullptr;

    Host()
    {
        window->move(0, 0);
        window->resize(300, 300);
        image = new TBoardImage(window.get());
        image->SetCenterOnForm(false);
        image->SetAutoSize(false);
        image->setGeometry(0, 0, 200, 200);
        QImage photo(4, 4, QImage::Format_RGB32);
        photo.fill(Qt::darkGreen);
        image->SetPictureImage(photo);
        image->SetStretch(true);
    }

    TRadioPanel* panel(QRect bounds, int memoHeight = 58,
                       const QStringList& lines = {"first line", "", "third line"})
    {
        auto* p = new TRadioPanel(window.get());
        p->setGeometry(bounds);
        p->SetMemoHeight(memoHeight);
        p->SetLines(lines);
        return p;
    }

    TBoardHighlight* add(const QString& title, TRadioPanel* panel = nullptr,
                         THighlightType type = htSettings, QRect bounds = QRect(20, 20, 40, 40))
    {
        auto* h = new TBoardHighlight(image);
        h->setGeometry(bounds);
        h->SetHighlightType(type);
        h->SetTitle(title);
        h->SetRadioPanel(panel);
        return h;
    }

    // Shown and painted, so the board image has recorded its origin.
    bool show(TBoardHighlight* h)
    {
        window->show();
        return QTest::qWaitForWindowExposed(window.get()) &&
               QTest::qWaitFor([h] { return h->ImagesBuilt(); });
    }
};

QPoint centreOf(const QWidget* w)
{
    return w->mapToGlobal(w->rect().center());
}

bool anyWindowVisible()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.cbegin(), windows.cend(), [](QWidget* w) { return w->isVisible(); });
}

} // namespace

class TestPopup : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void windowGeometry_data();
    void windowGeometry();
    void exampleLayoutOfA233By81Panel();
    void enlargingMovesTheChildrenByTheirAnchors();
    void keepOnScreen_data();
    void keepOnScreen();
    void placement_data();
    void placement();
    void panelTakenInOnce();
    void hoverOpensAndLeavingCloses();
    void leavingIntoTheWindowPinsUntilThePointerLeavesIt();
    void clickPinsAndDoneCloses();
    void activationDrivesGlowAndBright();
    void windowLookUp_data();
    void windowLookUp();
    void linkedHighlightsShareOneWindow();
    void pinAndFocusLeavesAHiddenWindowHidden();
};

void TestPopup::init()
{
    QCursor::setPos(kOutside);
}

void TestPopup::cleanup()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        w->hide();
    QTRY_VERIFY(!anyWindowVisible());
}

// Size, minimum, children and focus follow from the panel; a wrong formula
// cuts off the memo or buttons, or lets the window shrink below them.
void TestPopup::windowGeometry_data()
{
    QTest::addColumn<QRect>("panelBounds"); // empty: no panel
    QTest::addColumn<int>("memoHeight");
    QTest::addColumn<QSize>("client"); // invalid: not checked
    QTest::addColumn<QSize>("outer");  // invalid: not checked
    QTest::newRow("233 x 81 panel") << QRect(400, 300, 233, 81) << 58 << QSize(233, 190) << QSize();
    QTest::newRow("tall memo") << QRect(400, 100, 265, 169) << 124 << QSize(265, 344) << QSize();
    QTest::newRow("no panel") << QRect() << 58 << QSize() << QSize(194, 141);
    QTest::newRow("panel raised to the minimum")
        << QRect(400, 300, 100, 5) << 20 << QSize() << QSize(194, 122);
}

void TestPopup::windowGeometry()
{
    QFETCH(QRect, panelBounds);
    QFETCH(int, memoHeight);
    QFETCH(QSize, client);
    QFETCH(QSize, outer);
    Host host;
    TRadioPanel* panel = panelBounds.isEmpty() ? nullptr : host.panel(panelBounds, memoHeight);
    TBoardHighlight* h = host.add("&Window", panel);
    h->MouseEnter(false);
    TPopupForm* popup = h->Popup();
    QVERIFY(popup);
    QVERIFY(QTest::qWaitForWindowExposed(popup));

    QVERIFY(popup->isWindow());
    QCOMPARE(popup->parentWidget(), h);
    QVERIFY(popup->windowFlags() & Qt::Tool);
    QVERIFY(popup->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(popup->windowTitle(), QStringLiteral("Window"));
    QCOMPARE(TPopupForm::Tag(popup), int(htSettings));
    if (client.isValid())
        QCOMPARE(popup->size(), client);
    if (outer.isValid())
        QCOMPARE(popup->frameGeometry().size(), outer);
    QVERIFY(popup->frameGeometry().width() >= TPopupForm::MinOuterWidth);
    QVERIFY(popup->frameGeometry().height() >= TPopupForm::MinOuterHeight);
    QCOMPARE(popup->minimumSize(), popup->size());

    const int CW = popup->width();
    const int CH = popup->height();
    QCOMPARE(popup->PopupStatus->objectName(), QStringLiteral("PopupStatus"));
    QCOMPARE(popup->PopupStatus->geometry(), QRect(0, CH - 19, CW, 19));
    QCOMPARE(popup->PreviousButton->text(), QStringLiteral("Previous"));
    QCOMPARE(popup->PreviousButton->geometry(), QRect(6, CH - 44, 58, 25));
    QCOMPARE(popup->NextButton->text(), QStringLiteral("Next"));
    QCOMPARE(popup->NextButton->geometry(), QRect((CW - 58) / 2, CH - 44, 58, 25));
    QCOMPARE(popup->DoneButton->text(), QStringLiteral("Done"));
    QCOMPARE(popup->DoneButton->geometry(), QRect(CW - 64, CH - 44, 58, 25));
    QCOMPARE(popup->StatusMemo->objectName(), QStringLiteral("StatusMemo"));
    QCOMPARE(popup->StatusMemo->geometry(), QRect(6, CH - 50 - memoHeight, CW - 12, memoHeight));
    QVERIFY(popup->StatusMemo->isReadOnly());
    QCOMPARE(popup->StatusMemo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    for (const char* name :
         {"PopupStatus", "PreviousButton", "NextButton", "DoneButton", "StatusMemo"})
        QVERIFY2(popup->findChild<QWidget*>(QLatin1String(name)), name);

    if (panel) {
        // The panel keeps its own size at the top left, even when the window
        // was raised to its minimum.
        QCOMPARE(panel->parentWidget(), popup);
        QCOMPARE(panel->geometry(), QRect(QPoint(0, 0), panelBounds.size()));
        QVERIFY(panel->isVisible());
        QCOMPARE(popup->focusWidget(), panel);
    } else {
        QVERIFY(popup->StatusMemo->toPlainText().isEmpty());
        QCOMPARE(popup->focusWidget(), popup->DoneButton);
    }
}

// The worked example of the layout, number for number.
void TestPopup::exampleLayoutOfA233By81Panel()
{
    Host host;
    TBoardHighlight* h = host.add("&Clock", host.panel(QRect(448, 504, 233, 81)));
    h->MouseEnter(false);
    TPopupForm* popup = h->Popup();
    QVERIFY(popup);
    QCOMPARE(popup->size(), QSize(233, 190));
    QCOMPARE(popup->StatusMemo->geometry(), QRect(6, 82, 221, 58));
    QCOMPARE(popup->PreviousButton->geometry().topLeft(), QPoint(6, 146));
    QCOMPARE(popup->NextButton->geometry().topLeft(), QPoint(87, 146));
    QCOMPARE(popup->DoneButton->geometry().topLeft(), QPoint(169, 146));
    QCOMPARE(popup->PopupStatus->geometry().top(), 171);
}

// Enlarging must grow the memo, keep Previous left and Done right, move the
// bottom row down and keep Next's centre at its share of the width.
void TestPopup::enlargingMovesTheChildrenByTheirAnchors()
{
    Host host;
    TBoardHighlight* h = host.add("&Grow", host.panel(QRect(400, 300, 233, 81)));
    h->MouseEnter(false);
    TPopupForm* popup = h->Popup();
    QVERIFY(QTest::qWaitForWindowExposed(popup));
    const QSize before = popup->size();
    const QRect memo = popup->StatusMemo->geometry();
    const double nextShare = popup->NextButton->geometry().center().x() / double(before.width());

    popup->resize(before + QSize(100, 50));
    QTRY_COMPARE(popup->size(), before + QSize(100, 50));
    QCOMPARE(popup->StatusMemo->geometry(), memo.adjusted(0, 0, 100, 50));
    QCOMPARE(popup->PreviousButton->geometry(), QRect(6, 196, 58, 25));
    QCOMPARE(popup->DoneButton->geometry(), QRect(269, 196, 58, 25));
    QCOMPARE(popup->PopupStatus->geometry(), QRect(0, 221, 333, 19));
    QCOMPARE(popup->NextButton->geometry().top(), 196);
    QCOMPARE(popup->NextButton->width(), 58);
    const int expectedCentre = int(nextShare * 333);
    QVERIFY(qAbs(popup->NextButton->geometry().center().x() - expectedCentre) <= 1);

    popup->resize(100, 100);
    QCOMPARE(popup->size(), before); // never below its first size
}

// Off-screen windows are unreachable; the rule moves them back, but a window
// wider than the screen may still start left of it.
void TestPopup::keepOnScreen_data()
{
    QTest::addColumn<QRect>("outer");
    QTest::addColumn<QPoint>("expected");
    const QSize s(194, 141);
    QTest::newRow("inside") << QRect(QPoint(100, 200), s) << QPoint(100, 200);
    QTest::newRow("left of the screen") << QRect(QPoint(-30, 200), s) << QPoint(0, 200);
    QTest::newRow("above the screen") << QRect(QPoint(100, -5), s) << QPoint(100, 0);
    QTest::newRow("past the right edge") << QRect(QPoint(700, 200), s) << QPoint(606, 200);
    QTest::newRow("past the bottom edge") << QRect(QPoint(100, 700), s) << QPoint(100, 659);
    QTest::newRow("ending exactly at the edges") << QRect(QPoint(606, 659), s) << QPoint(606, 659);
    QTest::newRow("wider than the screen") << QRect(100, 0, 900, 100) << QPoint(-100, 0);
    QTest::newRow("wider and left of the screen") << QRect(-50, 0, 900, 100) << QPoint(0, 0);
}

void TestPopup::keepOnScreen()
{
    QFETCH(QRect, outer);
    QFETCH(QPoint, expected);
    QCOMPARE(TPopupForm::KeepOnScreen(outer, QSize(800, 800)), expected);
}

// The window stands where the panel was laid out, shifted as far as the
// board image moved since its first paint; without a panel below the image.
void TestPopup::placement_data()
{
    QTest::addColumn<QRect>("panelBounds");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("panel position plus the image's move")
        << QRect(400, 300, 233, 81) << QPoint(430, 340);
    QTest::newRow("no panel: 38 below the image") << QRect() << QPoint(30, 40 + 200 + 38);
    QTest::newRow("kept on screen") << QRect(700, 300, 233, 81) << QPoint(800 - 237, 340);
}

void TestPopup::placement()
{
    QFETCH(QRect, panelBounds);
    QFETCH(QPoint, expected);
    Host host;
    TBoardHighlight* h =
        host.add("&Place", panelBounds.isEmpty() ? nullptr : host.panel(panelBounds));
    QVERIFY(host.show(h));
    host.image->move(30, 40);
    h->MouseEnter(false);
    QVERIFY(h->Popup());
    QVERIFY(QTest::qWaitForWindowExposed(h->Popup()));
    QCOMPARE(h->Popup()->frameGeometry().topLeft(), expected);
}

// The panel moves into the window once, with its final anchors applied only
// then, and the memo holds the text as it was at that moment.
void TestPopup::panelTakenInOnce()
{
    Host host;
    TRadioPanel* panel = host.panel(QRect(400, 300, 233, 81));
    int entered = 0;
    panel->OnEnter = [&](QObject* s) {
        QCOMPARE(s, panel);
        ++entered;
    };
    panel->SetFinalAnchors(akAll());
    QCOMPARE(Anchors(panel), akLeftTop());
    TBoardHighlight* h = host.add("&Panel", panel);
    h->MouseEnter(false);
    TPopupForm* popup = h->Popup();
    QVERIFY(QTest::qWaitForWindowExposed(popup));
    QVERIFY(panel->InPopup());
    QCOMPARE(Anchors(panel), akAll());
    QCOMPARE(panel->PopupMemo(), popup->StatusMemo);
    QCOMPARE(popup->StatusMemo->toPlainText(), QStringLiteral("first line\n\nthird line"));
    QTRY_COMPARE(entered, 1);

    panel->SetLines({"changed"});
    panel->SetFinalAnchors(TAnchors(akLeft) | akTop | akRight);
    QCOMPARE(Anchors(panel), TAnchors(akLeft) | akTop | akRight);
    popup->close();
    h->MouseEnter(false);
    QCOMPARE(h->Popup(), popup);
    QCOMPARE(panel->parentWidget(), popup);
    QCOMPARE(popup->StatusMemo->toPlainText(), QStringLiteral("first line\n\nthird line"));
}

// Real pointer moves: entering opens the window active (Glow); leaving to
// anywhere outside it closes it and the ring goes back to Dim.
void TestPopup::hoverOpensAndLeavingCloses()
{
    Host host;
    TBoardHighlight* h = host.add("&Hover", host.panel(QRect(400, 300, 233, 81)));
    QVERIFY(host.show(h));
    QCursor::setPos(centreOf(h));
    QTRY_VERIFY(h->Popup() && h->Popup()->isVisible());
    QVERIFY(h->Entered());
    QVERIFY(!h->Pinned());
    QTRY_VERIFY(h->PopupActive());
    QCOMPARE(h->CurrentLook(), h->GlowImage());

    QCursor::setPos(kOutside);
    QTRY_VERIFY(!h->Popup()->isVisible());
    QVERIFY(!h->Entered());
    QTRY_VERIFY(!h->PopupActive());
    QCOMPARE(h->CurrentLook(), h->DimImage());
}

// Moving from the ring straight into its window keeps the window only while
// the pointer stays on it.
void TestPopup::leavingIntoTheWindowPinsUntilThePointerLeavesIt()
{
    Host host;
    TBoardHighlight* h = host.add("&Into", host.panel(QRect(400, 300, 233, 81)));
    QVERIFY(host.show(h));
    QCursor::setPos(centreOf(h));
    QTRY_VERIFY(h->Popup() && h->Popup()->isVisible());
    TPopupForm* popup = h->Popup();

    QCursor::setPos(popup->frameGeometry().topLeft() + QPoint(50, 150));
    QTRY_VERIFY(h->Pinned());
    QVERIFY(popup->CloseOnLeave());
    QVERIFY(popup->isVisible());

    QCursor::setPos(kOutside);
    QTRY_VERIFY(!popup->isVisible());
    QVERIFY(!popup->CloseOnLeave());
    QVERIFY(!h->Entered());

    // The next entry shows the window again, unpinned.
    QCursor::setPos(centreOf(h));
    QTRY_VERIFY(popup->isVisible());
    QVERIFY(!h->Pinned());
    QCOMPARE(h->Popup(), popup);
}

// A click pins: leaving no longer closes; Done does, whatever the pointer,
// and the ring returns to Dim. Shown again, the window starts unpinned.
void TestPopup::clickPinsAndDoneCloses()
{
    Host host;
    TBoardHighlight* h = host.add("&Pin", host.panel(QRect(400, 300, 233, 81)));
    QVERIFY(host.show(h));
    QCursor::setPos(centreOf(h));
    QTRY_VERIFY(h->Popup() && h->Popup()->isVisible());
    TPopupForm* popup = h->Popup();
    QTest::mouseClick(h, Qt::LeftButton, {}, h->rect().center());
    QVERIFY(h->Pinned());
    QVERIFY(!popup->CloseOnLeave());

    QCursor::setPos(kOutside);
    QTRY_VERIFY(!h->underMouse());
    QVERIFY(popup->isVisible());

    QCursor::setPos(centreOf(popup->DoneButton));
    QTest::mouseClick(popup->DoneButton, Qt::LeftButton);
    QVERIFY(!popup->isVisible());
    QVERIFY(!h->Entered());
    QTRY_VERIFY(!h->PopupActive());
    QCOMPARE(h->CurrentLook(), h->DimImage());
    QVERIFY(h->Pinned()); // untouched by the close

    QCursor::setPos(kOutside);
    QCursor::setPos(centreOf(h));
    QTRY_VERIFY(popup->isVisible());
    QVERIFY(!h->Pinned());
}

// Glow while the window is active, Bright while it is open behind another
// window; the panel's activation handlers go with the window.
void TestPopup::activationDrivesGlowAndBright()
{
    Host host;
    TRadioPanel* panel = host.panel(QRect(400, 300, 233, 81));
    QStringList calls;
    panel->OnActivate = [&](QObject*) { calls << "activate"; };
    panel->OnDeactivate = [&](QObject*) { calls << "deactivate"; };
    TBoardHighlight* h = host.add("&Active", panel);
    QVERIFY(host.show(h));
    h->MouseEnter(false);
    h->Click();
    TPopupForm* popup = h->Popup();
    QTRY_COMPARE(QApplication::activeWindow(), popup);
    QTRY_COMPARE(h->CurrentLook(), h->GlowImage());
    QCOMPARE(calls.value(0), QStringLiteral("activate"));

    host.window->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), host.window.get());
    QTRY_VERIFY(!h->PopupActive());
    QCOMPARE(h->CurrentLook(), h->BrightImage());
    QCOMPARE(calls.value(1), QStringLiteral("deactivate"));

    popup->activateWindow();
    QTRY_VERIFY(h->PopupActive());
    QCOMPARE(h->CurrentLook(), h->GlowImage());
}

// The window is found by caption and tag among all windows, hidden or not:
// a title differing only in '&' finds the first one's window and gets none.
void TestPopup::windowLookUp_data()
{
    QTest::addColumn<QString>("secondTitle");
    QTest::addColumn<THighlightType>("secondType");
    QTest::addColumn<bool>("ownWindow");
    QTest::newRow("differs only in '&'") << "F&oo" << htSettings << false;
    QTest::newRow("same caption, other tag") << "&Foo" << htOptions << true;
    QTest::newRow("other caption") << "&Bar" << htSettings << true;
}

void TestPopup::windowLookUp()
{
    QFETCH(QString, secondTitle);
    QFETCH(THighlightType, secondType);
    QFETCH(bool, ownWindow);
    Host host;
    TBoardHighlight* first = host.add("&Foo", host.panel(QRect(400, 300, 233, 81)));
    TBoardHighlight* second =
        host.add(secondTitle, host.panel(QRect(400, 500, 233, 81)), secondType);
    first->MouseEnter(false);
    TPopupForm* firstWindow = first->Popup();
    QVERIFY(firstWindow);
    firstWindow->close();
    QVERIFY(!firstWindow->isVisible());

    second->MouseEnter(false);
    QCOMPARE(second->Popup() != nullptr, ownWindow);
    QVERIFY(!firstWindow->isVisible());
    QCOMPARE(second->RadioPanel()->InPopup(), ownWindow);

    // A window of any kind with that caption and tag suppresses the pop-up.
    QWidget stranger;
    stranger.setWindowTitle(QStringLiteral("Stranger"));
    stranger.setProperty("Tag", int(htCalibration));
    TBoardHighlight* third = host.add("&Stranger", nullptr, htCalibration);
    third->MouseEnter(false);
    QVERIFY(third->Popup() == nullptr);
}

// Linked highlights: one window, owned by the first entered; clicking the
// other pins it; closing clears both.
void TestPopup::linkedHighlightsShareOneWindow()
{
    Host host;
    TRadioPanel* panel = host.panel(QRect(400, 300, 233, 81));
    TBoardHighlight* a = host.add("&Same", panel, htSettings, QRect(10, 10, 30, 30));
    TBoardHighlight* b = host.add("&Same", panel, htSettings, QRect(100, 100, 30, 30));
    QCOMPARE(b->RadioPanel(), panel);
    b->MouseEnter(false);
    QVERIFY(a->Entered() && b->Entered());
    QVERIFY(b->Popup());
    QVERIFY(a->Popup() == nullptr);
    QCOMPARE(b->Popup()->Highlight(), b);

    a->Click();
    QVERIFY(b->Pinned());
    b->Popup()->close();
    QVERIFY(!a->Entered() && !b->Entered());

    // Entering the other one brings the hidden window back through its owner.
    a->MouseEnter(false);
    QVERIFY(b->Popup()->isVisible());
    QVERIFY(a->Popup() == nullptr);
    QVERIFY(!b->Pinned());
}

// Focusing a hidden window would make an invisible window the active one and
// light the rings for nothing; the pin alone is recorded.
void TestPopup::pinAndFocusLeavesAHiddenWindowHidden()
{
    Host host;
    TBoardHighlight* h = host.add("&Hidden", host.panel(QRect(400, 300, 233, 81)));
    QVERIFY(host.show(h));
    h->MouseEnter(false);
    TPopupForm* popup = h->Popup();
    QVERIFY(QTest::qWaitForWindowExposed(popup));
    popup->close();
    host.window->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), host.window.get());
    QTRY_VERIFY(!h->PopupActive());

    h->PinAndFocus();
    QVERIFY(h->Pinned());
    QVERIFY(!popup->isVisible());
    QCoreApplication::processEvents();
    QVERIFY(QApplication::activeWindow() != popup);
    QVERIFY(!h->PopupActive());
}

QTEST_MAIN(TestPopup)
#include "tst_popup.moc"
