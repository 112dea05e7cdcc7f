#include "SetupCtrls.h"
#include "Tint.h"

#include <QPainter>
#include <QTest>
#include <cmath>
#include <memory>

Q_DECLARE_METATYPE(THighlightType)

namespace {

constexpr QRgb kPhotoColour = 0xFF326496; // what the fixture's board image shows

// A window with a board image showing one plain colour, so every backdrop
// pixel is known.
struct Board
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    TBoardImage* image = nullptr;

    Board()
    {
        window->setGeometry(0, 0, 300, 300);
        image = new TBoardImage(window.get());
        image->SetCenterOnForm(false);
        image->SetAutoSize(false);
        image->setGeometry(0, 0, 200, 200);
        QImage photo(10, 10, QImage::Format_RGB32);
        photo.fill(kPhotoColour);
        image->SetPictureImage(photo);
        image->SetStretch(true);
    }

    TBoardHighlight* add(const QString& title, THighlightType type = htSettings,
                         QRect bounds = QRect(10, 10, 65, 65))
    {
        auto* h = new TBoardHighlight(image);
        h->setGeometry(bounds);
        h->SetHighlightType(type);
        h->SetTitle(title);
        h->SetCreatePopup(false);
        return h;
    }

    bool show()
    {
        window->show();
        return QTest::qWaitForWindowExposed(window.get());
    }
};

// A highlight of another class: never linked, since links need the exact class.
class TDerivedHighlight : public TBoardHighlight
{
public:
    using TBoardHighlight::TBoardHighlight;
};

QImage solid(int w, int h, QRgb colour)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

QImage tinted(QImage img, TColor colour, float strength, bool glow)
{
    TintEllipse(img, colour, strength, glow);
    return img;
}

} // namespace

class TestHighlight : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void tintPixels_data();
    void tintPixels();
    void tintKeepsFourthByteAndSkipsDegenerateSizes();
    void titles_data();
    void titles();
    void typeSetsColourAndStrengths_data();
    void typeSetsColourAndStrengths();
    void looksAreRenderedFromTheBackdropOnce();
    void thinHighlightShowsTheBackdropUntinted();
    void linkedHighlights_data();
    void linkedHighlights();
    void enteringAnEnteredHighlightDoesNothing();
    void withoutPopupStaysBrightAfterLeaving();
    void clickNeedsLeftPressAndReleaseInside();
    void popupActiveSpreadsAndRaisesEachLinkedOnce();
    void radioPanelSetter_data();
    void radioPanelSetter();
};

// Park the pointer where no fixture window lies, so no test starts entered.
void TestHighlight::init()
{
    QCursor::setPos(799, 799);
}

// A wrong float step, rounding rule or ring formula moves these exact pixels.
void TestHighlight::tintPixels_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<float>("strength");
    QTest::addColumn<bool>("glow");
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QRgb>("expected");
    const QSize big(65, 65);
    // Ring peak r = 0.875: weight 0.5 gives 127.5, rounded to the even 128.
    QTest::newRow("ring peak, dim") << big << 0.5f << false << QPoint(60, 32) << qRgb(128, 128, 0);
    QTest::newRow("ring peak, glow is white")
        << big << 1.0f << true << QPoint(60, 32) << qRgb(255, 255, 255);
    // r = 0.84375: inside the glow band, whitened and half coloured.
    QTest::newRow("glow band, whitened")
        << big << 1.0f << true << QPoint(59, 32) << qRgb(255, 255, 128);
    // r = 0.78125: weight 0.25 outside the band, doubled by the glow.
    QTest::newRow("inner ring, dim") << big << 0.5f << false << QPoint(57, 32) << qRgb(32, 32, 0);
    QTest::newRow("inner ring, glow doubled")
        << big << 1.0f << true << QPoint(57, 32) << qRgb(128, 128, 0);
    // The centre gets 0.16 times the strength, glow or not.
    QTest::newRow("centre, dim") << big << 0.5f << false << QPoint(32, 32) << qRgb(20, 20, 0);
    QTest::newRow("centre, bright") << big << 0.75f << false << QPoint(32, 32) << qRgb(31, 31, 0);
    QTest::newRow("centre, glow") << big << 1.0f << true << QPoint(32, 32) << qRgb(41, 41, 0);
    // The ends of the axes of a 49 x 21 ellipse have d >= 1.
    const QSize wide(49, 21);
    QTest::newRow("49x21 left end") << wide << 1.0f << true << QPoint(0, 10) << qRgb(0, 0, 0);
    QTest::newRow("49x21 right end") << wide << 1.0f << true << QPoint(48, 10) << qRgb(0, 0, 0);
    QTest::newRow("49x21 top end") << wide << 1.0f << true << QPoint(24, 0) << qRgb(0, 0, 0);
    QTest::newRow("49x21 bottom end") << wide << 1.0f << true << QPoint(24, 20) << qRgb(0, 0, 0);
    QTest::newRow("49x21 corner") << wide << 1.0f << false << QPoint(0, 0) << qRgb(0, 0, 0);
}

void TestHighlight::tintPixels()
{
    QFETCH(QSize, size);
    QFETCH(float, strength);
    QFETCH(bool, glow);
    QFETCH(QPoint, pixel);
    QFETCH(QRgb, expected);
    QImage img = solid(size.width(), size.height(), qRgb(0, 0, 0));
    TintEllipse(img, clYellow, strength, glow);
    QCOMPARE(QColor(img.pixel(pixel)), QColor(expected));
}

// A tint that rewrote the fourth byte, or divided by zero on a one-pixel
// side, would corrupt or crash instead of leaving the image alone.
void TestHighlight::tintKeepsFourthByteAndSkipsDegenerateSizes()
{
    QImage img(65, 65, QImage::Format_RGB32);
    img.fill(0);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<quint32*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            line[x] = 0x7F000000u;
    }
    TintEllipse(img, clYellow, 0.5f, false);
    const quint32 centre = reinterpret_cast<const quint32*>(img.constScanLine(32))[32];
    QCOMPARE(centre & 0x00FFFFFFu, 0x00141400u);
    QCOMPARE(centre >> 24, 0x7Fu);

    for (const QSize size : {QSize(1, 30), QSize(30, 1), QSize(1, 1)}) {
        const QImage before = solid(size.width(), size.height(), qRgb(9, 8, 7));
        QImage after = before;
        TintEllipse(after, clRed, 1.0f, true);
        QCOMPARE(after, before);
    }
    QImage empty(0, 10, QImage::Format_RGB32);
    TintEllipse(empty, clRed, 1.0f, true);
    QVERIFY(empty.isNull());
}

// Pop-up captions and menu entry names are derived from these.
void TestHighlight::titles_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("ident");
    QTest::newRow("access key") << "&Control Base Address"
                                << "Control Base Address"
                                << "ControlBaseAddress";
    QTest::newRow("access key inside") << "Port &Disable"
                                       << "Port Disable"
                                       << "PortDisable";
    QTest::newRow("digits and hash") << "Serial Connector #1"
                                     << "Serial Connector #1"
                                     << "SerialConnector1";
    QTest::newRow("double ampersand vanishes") << "A&&B"
                                               << "AB"
                                               << "AB";
    QTest::newRow("leading digits dropped") << "12 Volt Rail"
                                            << "12 Volt Rail"
                                            << "VoltRail";
    QTest::newRow("leading underscore kept") << "_x-1"
                                             << "_x-1"
                                             << "_x1";
    QTest::newRow("already an identifier") << "Port_2"
                                           << "Port_2"
                                           << "Port_2";
    QTest::newRow("no letter at all") << "#1 & 2"
                                      << "#1  2"
                                      << "";
    QTest::newRow("non-ASCII letter dropped") << QString::fromUtf8("\xC3\x84nderung")
                                              << QString::fromUtf8("\xC3\x84nderung") << "nderung";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
}

void TestHighlight::titles()
{
    QFETCH(QString, title);
    QFETCH(QString, plain);
    QFETCH(QString, ident);
    QCOMPARE(StripAccelerators(title), plain);
    QCOMPARE(MakeIdentifier(title), ident);
    TBoardHighlight h(nullptr);
    h.SetTitle(title);
    QCOMPARE(h.PlainTitle(), plain);
    QCOMPARE(h.IdentTitle(), ident);
}

// The colour tells the user the kind of subject; a mix-up misleads.
void TestHighlight::typeSetsColourAndStrengths_data()
{
    QTest::addColumn<THighlightType>("type");
    QTest::addColumn<TColor>("ring");
    QTest::addColumn<float>("dim");
    QTest::addColumn<float>("bright");
    QTest::addColumn<float>("glow");
    QTest::newRow("options") << htOptions << TColor(0x00FF0000) << 0.25f << 0.5f << 1.0f;
    QTest::newRow("settings") << htSettings << TColor(0x0000FFFF) << 0.5f << 0.75f << 1.0f;
    QTest::newRow("calibration") << htCalibration << TColor(0x000000FF) << 0.5f << 0.75f << 1.0f;
}

void TestHighlight::typeSetsColourAndStrengths()
{
    QFETCH(THighlightType, type);
    QFETCH(TColor, ring);
    QFETCH(float, dim);
    QFETCH(float, bright);
    QFETCH(float, glow);
    TBoardHighlight h(nullptr);
    QCOMPARE(h.HighlightType(), htSettings);
    // Through another type first, so the setter really runs for every row.
    h.SetHighlightType(type == htOptions ? htCalibration : htOptions);
    h.SetHighlightType(type);
    QCOMPARE(h.RingColor(), ring);
    QCOMPARE(h.DimStrength(), dim);
    QCOMPARE(h.BrightStrength(), bright);
    QCOMPARE(h.GlowStrength(), glow);
}

// Looks must come from what lies under the ring at its first paint: the
// photograph and the looks of overlapping highlights below it. Later changes
// must not re-render them.
void TestHighlight::looksAreRenderedFromTheBackdropOnce()
{
    Board board;
    TBoardHighlight* lower = board.add("&Lower", htSettings, QRect(10, 10, 65, 65));
    TBoardHighlight* upper = board.add("&Upper", htOptions, QRect(40, 20, 49, 21));
    QVERIFY(board.show());
    QTRY_VERIFY(lower->ImagesBuilt() && upper->ImagesBuilt());

    const QImage photo = solid(65, 65, kPhotoColour);
    QCOMPARE(lower->DimImage(), tinted(photo, clYellow, 0.5f, false));
    QCOMPARE(lower->GlowImage(), tinted(photo, clYellow, 1.0f, true));
    QCOMPARE(lower->BrightImage(), tinted(photo, clYellow, 0.75f, false));

    QImage under = solid(49, 21, kPhotoColour);
    {
        QPainter p(&under);
        p.drawImage(QPoint(10 - 40, 10 - 20), lower->DimImage());
    }
    QCOMPARE(upper->DimImage(), tinted(under, 0x00FF0000, 0.25f, false));
    QCOMPARE(upper->GlowImage(), tinted(under, 0x00FF0000, 1.0f, true));

    // A paint is a plain copy of the current look.
    QCOMPARE(lower->grab().toImage().convertToFormat(QImage::Format_RGB32), lower->DimImage());
    const QImage dimBefore = lower->DimImage();
    lower->SetHighlightType(htCalibration);
    lower->resize(80, 80);
    lower->repaint();
    QCOMPARE(lower->DimImage(), dimBefore);
}

// A one-pixel side would divide by zero in the tint; the looks stay the
// backdrop, and a zero side builds empty looks without trouble.
void TestHighlight::thinHighlightShowsTheBackdropUntinted()
{
    Board board;
    TBoardHighlight* line = board.add("Line", htSettings, QRect(5, 5, 1, 40));
    TBoardHighlight* flat = board.add("Flat", htSettings, QRect(50, 5, 40, 0));
    QVERIFY(board.show());
    QTRY_VERIFY(line->ImagesBuilt());
    const QImage photo = solid(1, 40, kPhotoColour);
    QCOMPARE(line->DimImage(), photo);
    QCOMPARE(line->GlowImage(), photo);
    QCOMPARE(line->BrightImage(), photo);
    flat->repaint();
    QVERIFY(flat->DimImage().isNull());
}

// Links need the same board image, exactly the same Title and type, and the
// exact class; anything looser lights unrelated rings together.
void TestHighlight::linkedHighlights_data()
{
    QTest::addColumn<QString>("otherTitle");
    QTest::addColumn<THighlightType>("otherType");
    QTest::addColumn<bool>("derived");
    QTest::addColumn<bool>("linked");
    QTest::newRow("equal title and type") << "&Jumpers" << htSettings << false << true;
    QTest::newRow("different type") << "&Jumpers" << htOptions << false << false;
    QTest::newRow("title differs in '&'") << "J&umpers" << htSettings << false << false;
    QTest::newRow("title differs in case") << "&jumpers" << htSettings << false << false;
    QTest::newRow("derived class") << "&Jumpers" << htSettings << true << false;
}

void TestHighlight::linkedHighlights()
{
    QFETCH(QString, otherTitle);
    QFETCH(THighlightType, otherType);
    QFETCH(bool, derived);
    QFETCH(bool, linked);
    Board board;
    TBoardHighlight* first = board.add("&Jumpers");
    TBoardHighlight* other =
        derived ? new TDerivedHighlight(board.image) : board.add(otherTitle, otherType);
    if (derived) {
        other->SetTitle(otherTitle);
        other->SetCreatePopup(false);
    }
    QCOMPARE(first->LinkedHighlights().contains(other), linked);

    first->MouseEnter(false);
    QVERIFY(first->Entered());
    QCOMPARE(other->Entered(), linked);
    first->ClearEntered();
    other->ClearEntered();
    other->MouseEnter(false);
    QCOMPARE(first->Entered(), linked);
}

// Entering twice must not forward again: a linked highlight cleared in
// between stays cleared.
void TestHighlight::enteringAnEnteredHighlightDoesNothing()
{
    Board board;
    TBoardHighlight* a = board.add("&Same");
    TBoardHighlight* b = board.add("&Same");
    a->MouseEnter(false);
    QVERIFY(b->Entered());
    a->MouseLeave(false);
    b->ClearEntered();
    a->MouseEnter(false);
    QVERIFY(a->Entered());
    QVERIFY(!b->Entered());
}

// Without a pop-up nothing ever clears Entered, so the ring stays Bright,
// including after the real pointer has left it.
void TestHighlight::withoutPopupStaysBrightAfterLeaving()
{
    Board board;
    TBoardHighlight* h = board.add("&Alone", htSettings, QRect(20, 20, 40, 40));
    QVERIFY(board.show());
    QTRY_VERIFY(h->ImagesBuilt());
    QCOMPARE(h->CurrentLook(), h->DimImage());
    QCursor::setPos(h->mapToGlobal(QPoint(20, 20)));
    QTRY_VERIFY(h->Entered());
    QCOMPARE(h->CurrentLook(), h->BrightImage());
    QCursor::setPos(board.window->mapToGlobal(QPoint(250, 250)));
    QTRY_VERIFY(!h->underMouse());
    QVERIFY(h->Entered());
    QVERIFY(h->Popup() == nullptr);
    QCOMPARE(h->CurrentLook(), h->BrightImage());
}

// Only a left press released inside is a click; OnClick comes before Pin.
void TestHighlight::clickNeedsLeftPressAndReleaseInside()
{
    Board board;
    TBoardHighlight* h = board.add("&Click", htSettings, QRect(20, 20, 40, 40));
    int clicks = 0;
    QObject* sender = nullptr;
    h->OnClick = [&](QObject* s) {
        ++clicks;
        sender = s;
    };
    QVERIFY(board.show());
    QTest::mouseClick(h, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(clicks, 1);
    QCOMPARE(sender, h);
    QTest::mouseClick(h, Qt::RightButton, {}, QPoint(5, 5));
    QCOMPARE(clicks, 1);
    QTest::mousePress(h, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(h, Qt::LeftButton, {}, QPoint(60, 60));
    QCOMPARE(clicks, 1);
}

// Raising moves a child to the end of the list; a walk that advanced its
// index after each raise would skip one linked highlight and visit another
// twice.
void TestHighlight::popupActiveSpreadsAndRaisesEachLinkedOnce()
{
    Board board;
    TBoardHighlight* a = board.add("&Group");
    TBoardHighlight* x = board.add("&Other");
    TBoardHighlight* b = board.add("&Group");
    TBoardHighlight* c = board.add("&Group");
    a->SetPopupActive(true);
    QVERIFY(a->PopupActive() && b->PopupActive() && c->PopupActive());
    QVERIFY(!x->PopupActive());
    const QObjectList order = board.image->children();
    QCOMPARE(order, (QObjectList{x, a, b, c}));

    b->SetPopupActive(false, false);
    QVERIFY(!b->PopupActive());
    QVERIFY(a->PopupActive() && c->PopupActive());
    QCOMPARE(board.image->children().last(), b);
}

// One panel may be shared only by linked highlights; a conflicting
// assignment at run time must leave the property as it was, silently.
void TestHighlight::radioPanelSetter_data()
{
    QTest::addColumn<QString>("holderTitle");
    QTest::addColumn<THighlightType>("holderType");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("held by a linked highlight") << "&Base" << htSettings << true;
    QTest::newRow("held by another title") << "&Clock" << htSettings << false;
    QTest::newRow("held by another type") << "&Base" << htOptions << false;
}

void TestHighlight::radioPanelSetter()
{
    QFETCH(QString, holderTitle);
    QFETCH(THighlightType, holderType);
    QFETCH(bool, accepted);
    Board board;
    auto* shared = new TRadioPanel(board.window.get());
    auto* own = new TRadioPanel(board.window.get());
    TBoardHighlight* holder = board.add(holderTitle, holderType);
    holder->SetRadioPanel(shared);
    TBoardHighlight* h = board.add("&Base");
    h->SetRadioPanel(own);
    h->SetRadioPanel(shared);
    QCOMPARE(h->RadioPanel(), accepted ? shared : own);
    QCOMPARE(holder->RadioPanel(), shared);
    h->SetRadioPanel(nullptr);
    QVERIFY(h->RadioPanel() == nullptr);

    // Without a parent there is nobody to conflict with.
    TBoardHighlight orphan(nullptr);
    orphan.SetRadioPanel(shared);
    QCOMPARE(orphan.RadioPanel(), shared);
}

QTEST_MAIN(TestHighlight)
#include "tst_highlight.moc"
