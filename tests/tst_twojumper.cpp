#include "ScriptedAnswerer.h"
#include "TColor.h"
#include "TRadioPanel.h"
#include "TTwoJumper.h"

#include <QLabel>
#include <QTest>

Q_DECLARE_METATYPE(TOrientationType)

class TestTwoJumper : public QObject
{
    Q_OBJECT
private slots:
    void defaultGlyph();
    void pinPlaces_data();
    void pinPlaces();
    void orientationSwap_data();
    void orientationSwap();
    void noPins_data();
    void noPins();
    void closedCap_data();
    void closedCap();
    void background_data();
    void background();
    void settersRepaintOnlyOnChange();
    void click();
    void clickNeedsLeftPressAndReleaseInside();
    void errorInOnClickGoesToErrorDisplay();
    void radioClicks();
    void radioSelectChangeTest();
    void radioSelectWithoutGlyphs();
    void radioOffTogglesAlone();
    void radioNeedsExactPanelAndGlyphClasses();
};

namespace {

// Classes derived from the option panel and the glyph: the radio behaviour
// must not treat them as the real thing.
class TDerivedPanel : public TRadioPanel
{
public:
    using TRadioPanel::TRadioPanel;
};
class TDerivedJumper : public TTwoJumper
{
public:
    using TTwoJumper::TTwoJumper;
};

QRgb rgb(TColor c)
{
    return ColorToQColor(c).rgb();
}

QImage shot(TTwoJumper& j)
{
    return j.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The smallest rectangle holding every pixel of `color` inside `area`.
QRect boundsOf(const QImage& img, QRgb color, QRect area = QRect())
{
    if (area.isNull())
        area = img.rect();
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (img.pixel(x, y) == color)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// Both pins' boxes: the one in the first and the one in the second half of
// the long side.
QPair<QRect, QRect> pinBoxes(const QImage& img)
{
    const QRgb pin = rgb(clYellow);
    if (img.width() >= img.height()) {
        const int half = img.width() / 2;
        return {boundsOf(img, pin, QRect(0, 0, half, img.height())),
                boundsOf(img, pin, QRect(half, 0, img.width() - half, img.height()))};
    }
    const int half = img.height() / 2;
    return {boundsOf(img, pin, QRect(0, 0, img.width(), half)),
            boundsOf(img, pin, QRect(0, half, img.width(), img.height() - half))};
}

// A box given as (left, top)-(right, bottom) with right and bottom excluded.
QRect box(int l, int t, int r, int b)
{
    return QRect(l, t, r - l, b - t);
}

int count(const QImage& img, QRgb color)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixel(x, y) == color;
    return n;
}

// Counts paints of a shown widget.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget* w) { w->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

void clickCentre(QWidget* w)
{
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

} // namespace

// The worked example: a wrong block, corner size, pin place or radius, or
// an outline drawn one pixel too far right or low, shows up here.
void TestTwoJumper::defaultGlyph()
{
    TTwoJumper j(nullptr);
    QCOMPARE(j.size(), QSize(34, 18));
    QCOMPARE(j.Orientation(), otUp);
    QVERIFY(!j.Closed());
    QCOMPARE(j.BaseColor(), clGray);
    QCOMPARE(j.PinColor(), clYellow);
    QCOMPARE(j.JumperColor(), clMaroon);
    QCOMPARE(j.BorderStyle(), bsSingle);

    const QImage img = shot(j);
    QCOMPARE(img.size(), QSize(34, 18));
    const QRgb face = rgb(clBtnFace), black = rgb(clBlack), gray = rgb(clGray);
    QVERIFY(face != black && face != gray);
    // Open block (1, 1)-(33, 17): everything else is background.
    QCOMPARE(boundsOf(img, black), box(1, 1, 33, 17));
    QCOMPARE(count(img, face) + count(img, black) + count(img, gray) + count(img, rgb(clYellow)),
             34 * 18);
    for (const QPoint p : {QPoint(16, 1), QPoint(16, 16), QPoint(1, 9), QPoint(32, 9)})
        QCOMPARE(img.pixel(p), black);
    QCOMPARE(img.pixel(4, 9), gray);
    // 9 x 9 corner ellipses: the corners are cut, the straight edges run
    // from half the corner size onwards.
    for (const QPoint p : {QPoint(1, 1), QPoint(2, 1), QPoint(1, 2), QPoint(32, 16)})
        QCOMPARE(img.pixel(p), face);
    for (const QPoint p : {QPoint(1, 5), QPoint(1, 12), QPoint(5, 1), QPoint(28, 16)})
        QCOMPARE(img.pixel(p), black);
    // Pins (8, 6)-(14, 12) and (20, 6)-(26, 12), round and mirror images.
    const auto pins = pinBoxes(img);
    QCOMPARE(pins.first, box(8, 6, 14, 12));
    QCOMPARE(pins.second, box(20, 6, 26, 12));
    QCOMPARE(img.pixel(8, 6), gray); // a corner of the pin's box is not the pin
    QCOMPARE(img.pixel(10, 6), rgb(clYellow));
    QCOMPARE(img.mirrored(true, false), img);
}

// Each orientation maps the drawing its own way; odd short sides put the pins
// off the centre line, so every wrong turn moves them.
void TestTwoJumper::pinPlaces_data()
{
    QTest::addColumn<TOrientationType>("orientation");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("first");
    QTest::addColumn<QRect>("second");
    QTest::newRow("otLeft, setup window glyph")
        << otLeft << QSize(18, 34) << box(6, 8, 12, 14) << box(6, 20, 12, 26);
    QTest::newRow("otUp, odd height")
        << otUp << QSize(34, 19) << box(8, 6, 14, 12) << box(20, 6, 26, 12);
    QTest::newRow("otDown, odd height: half turn")
        << otDown << QSize(34, 19) << box(8, 7, 14, 13) << box(20, 7, 26, 13);
    QTest::newRow("otLeft, odd width: right end to the top")
        << otLeft << QSize(19, 34) << box(6, 8, 12, 14) << box(6, 20, 12, 26);
    QTest::newRow("otRight, odd width: left end to the top")
        << otRight << QSize(19, 34) << box(7, 8, 13, 14) << box(7, 20, 13, 26);
}

void TestTwoJumper::pinPlaces()
{
    QFETCH(TOrientationType, orientation);
    QFETCH(QSize, size);
    QFETCH(QRect, first);
    QFETCH(QRect, second);
    TTwoJumper j(nullptr);
    j.resize(size);
    j.SetOrientation(orientation);
    const QImage img = shot(j);
    QCOMPARE(j.size(), size); // never painted: a pending swap is dropped
    QCOMPARE(img.size(), size);
    const auto pins = pinBoxes(img);
    QCOMPARE(pins.first, first);
    QCOMPARE(pins.second, second);
}

// Width and height change only when the glyph moves into the other pair after
// it has been shown, and only once the next paint has run.
void TestTwoJumper::orientationSwap_data()
{
    QTest::addColumn<bool>("paintedFirst");
    QTest::addColumn<QList<int>>("orientations");
    QTest::addColumn<QSize>("final");
    QTest::newRow("otUp to otLeft after a paint") << true << QList<int>{otLeft} << QSize(18, 34);
    QTest::newRow("otUp to otRight after a paint") << true << QList<int>{otRight} << QSize(18, 34);
    QTest::newRow("otUp to otLeft before any paint")
        << false << QList<int>{otLeft} << QSize(34, 18);
    QTest::newRow("otUp to otDown keeps the size") << true << QList<int>{otDown} << QSize(34, 18);
    QTest::newRow("otLeft then otRight: one exchange")
        << true << QList<int>{otLeft, otRight} << QSize(18, 34);
    QTest::newRow("otLeft and back to otUp before the paint")
        << true << QList<int>{otLeft, otUp} << QSize(34, 18);
}

void TestTwoJumper::orientationSwap()
{
    QFETCH(bool, paintedFirst);
    QFETCH(QList<int>, orientations);
    QFETCH(QSize, final);
    TTwoJumper j(nullptr);
    if (paintedFirst)
        shot(j);
    for (int o : orientations)
        j.SetOrientation(TOrientationType(o));
    QCOMPARE(j.size(), QSize(34, 18)); // the setter itself never resizes
    shot(j);
    QCOMPARE(j.size(), final);
    const QImage img = shot(j); // painted again at its new shape
    QCOMPARE(img.size(), final);
    QCOMPARE(j.size(), final); // no further exchange
    const bool tall = final.height() > final.width();
    if (tall == (orientations.last() >= otLeft)) { // the shape suits the orientation
        const auto pins = pinBoxes(img);
        QCOMPARE(pins.first, tall ? box(6, 8, 12, 14) : box(8, 6, 14, 12));
        QCOMPARE(pins.second, tall ? box(6, 20, 12, 26) : box(20, 6, 26, 12));
    }
}

// The pin radius is the smaller of a div 3 and S / 4 rounded half to even.
void TestTwoJumper::noPins_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("pins");
    QTest::newRow("L 8") << QSize(8, 18) << false;
    QTest::newRow("L 9") << QSize(9, 18) << true;
    QTest::newRow("S 2: 0.5 rounds to 0") << QSize(34, 2) << false;
    QTest::newRow("S 3") << QSize(34, 3) << true;
}

void TestTwoJumper::noPins()
{
    QFETCH(QSize, size);
    QFETCH(bool, pins);
    for (bool closed : {false, true}) {
        TTwoJumper j(nullptr);
        j.resize(size);
        j.SetClosed(closed);
        QCOMPARE(count(shot(j), rgb(clYellow)) > 0, pins);
    }
}

// A closed glyph is a cap over the whole surface; bsNone leaves no outline.
void TestTwoJumper::closedCap_data()
{
    QTest::addColumn<int>("border");
    QTest::newRow("bsSingle") << int(bsSingle);
    QTest::newRow("bsNone") << int(bsNone);
}

void TestTwoJumper::closedCap()
{
    QFETCH(int, border);
    TTwoJumper j(nullptr);
    j.SetBorderStyle(TBorderStyle(border));
    j.SetClosed(true);
    const QImage img = shot(j);
    const QRgb cap = rgb(clMaroon), edge = border == bsSingle ? rgb(clBlack) : cap;
    const QRgb yellow = rgb(clYellow);
    const auto pins = pinBoxes(img);
    QCOMPARE(pins.first, box(8, 6, 14, 12));
    QCOMPARE(pins.second, box(20, 6, 26, 12));
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 34; ++x) {
            const QRgb px = img.pixel(x, y);
            if (px == yellow)
                continue;
            const bool onEdge = x == 0 || y == 0 || x == 33 || y == 17;
            QVERIFY2(px == (onEdge ? edge : cap),
                     qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
}

// The background comes from the parent only when it is exactly an option
// panel; any other parent gives the button face, whatever its own colour.
void TestTwoJumper::background_data()
{
    QTest::addColumn<int>("parentKind");
    QTest::addColumn<bool>("panelColour");
    QTest::newRow("option panel") << 0 << true;
    QTest::newRow("class derived from the option panel") << 1 << false;
    QTest::newRow("plain panel") << 2 << false;
}

void TestTwoJumper::background()
{
    QFETCH(int, parentKind);
    QFETCH(bool, panelColour);
    const TColor red = clRed;
    std::unique_ptr<QWidget> parent;
    if (parentKind == 2) {
        parent = std::make_unique<QWidget>();
        QPalette pal = parent->palette();
        pal.setColor(QPalette::Window, ColorToQColor(red));
        pal.setColor(QPalette::Button, ColorToQColor(red));
        parent->setPalette(pal);
    } else {
        auto* panel = parentKind == 0 ? new TRadioPanel(nullptr) : new TDerivedPanel(nullptr);
        panel->SetColor(red);
        parent.reset(panel);
    }
    auto* j = new TTwoJumper(parent.get());
    const QImage img = shot(*j);
    QCOMPARE(img.pixel(0, 0), panelColour ? rgb(red) : rgb(clBtnFace));
    QCOMPARE(img.pixel(33, 17), img.pixel(0, 0));
}

// A setter that repaints on an equal value wastes paints; one that does not
// repaint on a change leaves a stale glyph on screen.
void TestTwoJumper::settersRepaintOnlyOnChange()
{
    TTwoJumper j(nullptr);
    j.show();
    QVERIFY(QTest::qWaitForWindowExposed(&j));
    PaintCounter counter(&j);
    int clicks = 0;
    j.OnClick = [&](QObject*) { ++clicks; };
    const std::function<void(bool)> setters[] = {
        [&](bool change) { j.SetClosed(change ? !j.Closed() : j.Closed()); },
        [&](bool change) { j.SetBaseColor(change ? j.BaseColor() ^ 1 : j.BaseColor()); },
        [&](bool change) { j.SetPinColor(change ? j.PinColor() ^ 1 : j.PinColor()); },
        [&](bool change) { j.SetJumperColor(change ? j.JumperColor() ^ 1 : j.JumperColor()); },
        [&](bool change) {
            j.SetBorderStyle(change ? TBorderStyle(1 - j.BorderStyle()) : j.BorderStyle());
        },
    };
    for (const auto& set : setters) {
        QCoreApplication::processEvents();
        const int before = counter.paints;
        set(false);
        QCoreApplication::processEvents();
        QCOMPARE(counter.paints, before);
        set(true);
        QTRY_VERIFY(counter.paints > before);
    }
    QCOMPARE(clicks, 0); // setting Closed by program is not a click
}

// A click toggles first and then tells OnClick, once per click.
void TestTwoJumper::click()
{
    TRadioPanel panel(nullptr);
    auto* j = new TTwoJumper(&panel);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QList<bool> seen;
    j->OnClick = [&](QObject* sender) {
        QCOMPARE(sender, j);
        seen.append(j->Closed());
    };
    clickCentre(j);
    QCOMPARE(seen, QList<bool>{true});
    clickCentre(j);
    QCOMPARE(seen, (QList<bool>{true, false}));

    j->setEnabled(false);
    clickCentre(j);
    QCOMPARE(seen.size(), 2);
    QVERIFY(!j->Closed());
    // A disabled glyph is painted like an enabled one.
    const QImage disabled = shot(*j);
    j->setEnabled(true);
    QCOMPARE(shot(*j), disabled);
}

// Only a left press and release both inside the glyph is a click.
void TestTwoJumper::clickNeedsLeftPressAndReleaseInside()
{
    TRadioPanel panel(nullptr);
    auto* j = new TTwoJumper(&panel);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    int clicks = 0;
    j->OnClick = [&](QObject*) { ++clicks; };
    QTest::mouseClick(j, Qt::RightButton, {}, QPoint(5, 5));
    QTest::mousePress(j, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(j, Qt::LeftButton, {}, QPoint(50, 5));
    QTest::mouseRelease(j, Qt::LeftButton, {}, QPoint(5, 5)); // no press before it
    QCOMPARE(clicks, 0);
    QVERIFY(!j->Closed());
}

// An error leaving OnClick must not cross Qt's event frames: it is shown in
// the error box and the program goes on.
void TestTwoJumper::errorInOnClickGoesToErrorDisplay()
{
    ScriptedAnswerer boxes;
    TRadioPanel panel(nullptr);
    auto* j = new TTwoJumper(&panel);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    j->OnClick = [](QObject*) { throw std::runtime_error("Jumper handler failed"); };
    clickCentre(j);
    QCOMPARE(boxes.asked.size(), 1);
    QCOMPARE(boxes.asked[0].text, QStringLiteral("Jumper handler failed"));
    QCOMPARE(boxes.asked[0].icon, MsgBox::Icon::Error);
    QVERIFY(j->Closed());
}

// With radio behaviour every click ends with exactly the clicked glyph closed;
// the change test sees the states after the clicked glyph's own toggle.
void TestTwoJumper::radioClicks()
{
    TRadioPanel panel(nullptr);
    panel.SetRadioEnabled(true);
    QList<TTwoJumper*> glyphs;
    for (int i = 0; i < 3; ++i) {
        glyphs.append(new TTwoJumper(&panel));
        glyphs.last()->move(40 * i, 0);
        new QLabel(QStringLiteral("x"), &panel);
    }
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QList<QObject*> changes;
    panel.OnRadioChange = [&](QObject* sender) { changes.append(sender); };
    QList<int> closedAtOnClick;
    for (TTwoJumper* g : glyphs)
        g->OnClick = [&, g](QObject*) {
            int n = 0;
            for (TTwoJumper* other : glyphs)
                n += other->Closed();
            QVERIFY(g->Closed());
            closedAtOnClick.append(n);
        };

    struct Step
    {
        int clicked;
        bool change;
    };
    // All open: the toggle alone closes it, so the radio pass finds no change.
    // Clicking the closed one: its toggle opened it, the pass closes it again.
    const Step steps[] = {{0, false}, {1, true}, {1, true}, {2, true}, {0, true}};
    for (const Step& s : steps) {
        changes.clear();
        clickCentre(glyphs[s.clicked]);
        for (int i = 0; i < glyphs.size(); ++i)
            QCOMPARE(glyphs[i]->Closed(), i == s.clicked);
        QCOMPARE(changes, s.change ? QList<QObject*>{glyphs[s.clicked]} : QList<QObject*>{});
    }
    QCOMPARE(closedAtOnClick, QList<int>(std::size(steps), 1)); // OnClick after the radio pass
}

// RadioSelect by program fires OnRadioChange only when it changed a glyph.
void TestTwoJumper::radioSelectChangeTest()
{
    TRadioPanel panel(nullptr);
    auto* a = new TTwoJumper(&panel);
    auto* b = new TTwoJumper(&panel);
    int clicks = 0;
    a->OnClick = b->OnClick = [&](QObject*) { ++clicks; };
    QList<QObject*> changes;
    panel.OnRadioChange = [&](QObject* sender) { changes.append(sender); };

    a->SetClosed(true);
    panel.RadioSelect(a);
    QVERIFY(changes.isEmpty());
    QVERIFY(a->Closed() && !b->Closed());

    panel.RadioSelect(b);
    QCOMPARE(changes, QList<QObject*>{b});
    QVERIFY(!a->Closed() && b->Closed());
    QCOMPARE(clicks, 0);
}

void TestTwoJumper::radioSelectWithoutGlyphs()
{
    // A panel without glyph children must not touch a foreign glyph or fire.
    TRadioPanel panel(nullptr);
    new QLabel(QStringLiteral("A4"), &panel);
    TTwoJumper foreign(nullptr);
    int changes = 0;
    panel.OnRadioChange = [&](QObject*) { ++changes; };
    panel.RadioSelect(&foreign);
    QCOMPARE(changes, 0);
    QVERIFY(!foreign.Closed());
}

// Without radio behaviour each glyph toggles on its own.
void TestTwoJumper::radioOffTogglesAlone()
{
    TRadioPanel panel(nullptr);
    auto* a = new TTwoJumper(&panel);
    auto* b = new TTwoJumper(&panel);
    b->move(40, 0);
    int changes = 0;
    panel.OnRadioChange = [&](QObject*) { ++changes; };
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    clickCentre(a);
    clickCentre(b);
    QVERIFY(a->Closed() && b->Closed());
    clickCentre(a);
    QVERIFY(!a->Closed() && b->Closed());
    QCOMPARE(changes, 0);
}

// Partners are found by exact class: a derived panel has no radio behaviour,
// and a derived glyph is not one of the panel's jumpers.
void TestTwoJumper::radioNeedsExactPanelAndGlyphClasses()
{
    TDerivedPanel derived(nullptr);
    derived.SetRadioEnabled(true);
    auto* a = new TTwoJumper(&derived);
    auto* b = new TTwoJumper(&derived);
    b->move(40, 0);
    b->SetClosed(true);
    derived.show();
    QVERIFY(QTest::qWaitForWindowExposed(&derived));
    clickCentre(a);
    QVERIFY(a->Closed() && b->Closed());

    TRadioPanel panel(nullptr);
    panel.SetRadioEnabled(true);
    auto* c = new TTwoJumper(&panel);
    auto* d = new TDerivedJumper(&panel);
    d->SetClosed(true);
    panel.RadioSelect(c);
    QVERIFY(c->Closed() && d->Closed());
}

QTEST_MAIN(TestTwoJumper)
#include "tst_twojumper.moc"
