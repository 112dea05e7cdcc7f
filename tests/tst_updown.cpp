#include "Application.h"
#include "TUpDown.h"

#include <QTest>
#include <memory>

Q_DECLARE_METATYPE(TUpDownDirection)

class TestUpDown : public QObject
{
    Q_OBJECT
private slots:
    void defaultsAndRange();
    void programRequest_data();
    void programRequest();
    void arrowsAndKeys_data();
    void arrowsAndKeys();
    void refusedChangeKeepsPosition();
    void holdingAnArrowRepeats();
};

namespace {

struct Seen
{
    int calls = 0;
    std::int16_t value = 0;
    TUpDownDirection direction = TUpDownDirection::updNone;
    std::int16_t positionDuringEvent = 0;
};

// 256..1016 in steps of 8, shown on screen, recording its changing events.
std::unique_ptr<TUpDown> makePortUpDown(std::int16_t position, Seen& seen, bool wrap = false)
{
    auto ud = std::make_unique<TUpDown>();
    ud->SetMin(256);
    ud->SetMax(1016);
    ud->SetIncrement(8);
    ud->SetWrap(wrap);
    ud->SetPosition(position);
    ud->OnChangingEx = [&seen, u = ud.get()](QObject*, bool&, std::int16_t v, TUpDownDirection d) {
        ++seen.calls;
        seen.value = v;
        seen.direction = d;
        seen.positionDuringEvent = u->Position();
    };
    ud->resize(15, 25);
    ud->show();
    return ud;
}

} // namespace

// A default that differs, or a range change that leaves the position outside
// the range, would give positions the control must never hold.
void TestUpDown::defaultsAndRange()
{
    TUpDown ud;
    QCOMPARE(ud.Min(), 0);
    QCOMPARE(ud.Max(), 100);
    QCOMPARE(ud.Increment(), 1);
    QCOMPARE(ud.Position(), 0);
    QVERIFY(!ud.Wrap());
    ud.SetPosition(80);
    ud.SetMax(50);
    QCOMPARE(ud.Position(), 50);
    ud.SetMax(100);
    ud.SetMin(70);
    QCOMPARE(ud.Position(), 70);
}

// The event must see the request as given, signed and unclamped, before the
// position moves; the position must end clamped (signed comparison).
void TestUpDown::programRequest_data()
{
    QTest::addColumn<int>("request");
    QTest::addColumn<int>("position");
    QTest::newRow("inside the range") << 760 << 760;
    QTest::newRow("above the top") << 2040 << 1016;
    QTest::newRow("below the bottom") << 8 << 256;
    QTest::newRow("negative, compared signed") << -8 << 256;
    QTest::newRow("lowest int16") << -32768 << 256;
    QTest::newRow("highest int16") << 32767 << 1016;
    QTest::newRow("equal to the position, still reported") << 512 << 512;
}

void TestUpDown::programRequest()
{
    QFETCH(int, request);
    QFETCH(int, position);
    Seen seen;
    auto ud = makePortUpDown(512, seen);
    ud->SetPosition(std::int16_t(request));
    QCOMPARE(seen.calls, 1);
    QCOMPARE(int(seen.value), request);
    QCOMPARE(seen.direction, TUpDownDirection::updNone);
    QCOMPARE(int(seen.positionDuringEvent), 512);
    QCOMPARE(int(ud->Position()), position);
}

// Arrows and keys step by Increment in the right direction, report the
// unclamped request, and stop at the ends unless Wrap is on.
void TestUpDown::arrowsAndKeys_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("start");
    QTest::addColumn<bool>("wrap");
    QTest::addColumn<int>("requested");
    QTest::addColumn<TUpDownDirection>("direction");
    QTest::addColumn<int>("position");
    const auto up = TUpDownDirection::updUp;
    const auto down = TUpDownDirection::updDown;
    QTest::newRow("upper arrow") << "upper arrow" << 512 << false << 520 << up << 520;
    QTest::newRow("lower arrow") << "lower arrow" << 512 << false << 504 << down << 504;
    QTest::newRow("upper arrow at the top, no wrap")
        << "upper arrow" << 1016 << false << 1024 << up << 1016;
    QTest::newRow("lower arrow at the bottom, no wrap")
        << "lower arrow" << 256 << false << 248 << down << 256;
    QTest::newRow("Up key") << "Up key" << 512 << false << 520 << up << 520;
    QTest::newRow("Down key at the bottom") << "Down key" << 256 << false << 248 << down << 256;
    QTest::newRow("wrap past the top") << "upper arrow" << 1016 << true << 1024 << up << 256;
    QTest::newRow("wrap past the bottom") << "Down key" << 256 << true << 248 << down << 1016;
}

void TestUpDown::arrowsAndKeys()
{
    QFETCH(QString, input);
    QFETCH(int, start);
    QFETCH(bool, wrap);
    QFETCH(int, requested);
    QFETCH(TUpDownDirection, direction);
    QFETCH(int, position);
    Seen seen;
    auto ud = makePortUpDown(std::int16_t(start), seen, wrap);
    ud->setFocus();
    if (input == "upper arrow")
        QTest::mouseClick(ud.get(), Qt::LeftButton, {}, QPoint(7, 5));
    else if (input == "lower arrow")
        QTest::mouseClick(ud.get(), Qt::LeftButton, {}, QPoint(7, 19));
    else
        QTest::keyClick(ud.get(), input == "Up key" ? Qt::Key_Up : Qt::Key_Down);
    QCOMPARE(seen.calls, 1);
    QCOMPARE(int(seen.value), requested);
    QCOMPARE(seen.direction, direction);
    QCOMPARE(int(seen.positionDuringEvent), start);
    QCOMPARE(int(ud->Position()), position);
}

// A handler that refuses must leave the position where it was.
void TestUpDown::refusedChangeKeepsPosition()
{
    TUpDown ud;
    ud.SetMax(1000);
    ud.SetPosition(100);
    ud.OnChangingEx = [](QObject*, bool& allow, std::int16_t, TUpDownDirection) { allow = false; };
    ud.resize(15, 25);
    ud.show();
    ud.SetPosition(200);
    QTest::mouseClick(&ud, Qt::LeftButton, {}, QPoint(7, 5));
    QCOMPARE(int(ud.Position()), 100);
}

// Holding an arrow down must keep stepping, as the platform's up-down does.
void TestUpDown::holdingAnArrowRepeats()
{
    Seen seen;
    auto ud = makePortUpDown(256, seen);
    QTest::mousePress(ud.get(), Qt::LeftButton, {}, QPoint(7, 5));
    QTRY_VERIFY(ud->Position() >= 256 + 3 * 8);
    QTest::mouseRelease(ud.get(), Qt::LeftButton, {}, QPoint(7, 5));
}

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestUpDown t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_updown.moc"
