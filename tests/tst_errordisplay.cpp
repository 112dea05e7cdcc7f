#include "Application.h"
#include "ErrorDisplay.h"
#include "ScriptedAnswerer.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>

class TestErrorDisplay : public QObject
{
    Q_OBJECT
private slots:
    void errorLeavingHandlerIsShownAndProgramGoesOn();
};

// An exception escaping a click handler must end up in one error box with the
// application's title, and must neither crash nor stop later events.
void TestErrorDisplay::errorLeavingHandlerIsShownAndProgramGoesOn()
{
    ScriptedAnswerer boxes;
    QPushButton button;
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] {
        Guarded([&] {
            ++clicks;
            throw std::runtime_error("Something failed");
        });
    });
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(clicks, 1);
    QCOMPARE(boxes.asked.size(), 1);
    QCOMPARE(boxes.asked[0].text, QStringLiteral("Something failed"));
    QCOMPARE(boxes.asked[0].caption, QCoreApplication::applicationName());
    QCOMPARE(boxes.asked[0].icon, MsgBox::Icon::Error);
    QCOMPARE(boxes.asked[0].buttons, MsgBox::Buttons::Ok);

    bool ticked = false;
    QTimer::singleShot(0, [&] { ticked = true; });
    QTRY_VERIFY(ticked); // the event loop still runs
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(clicks, 2);
    QCOMPARE(boxes.asked.size(), 2);
}

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TestErrorDisplay t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_errordisplay.moc"
