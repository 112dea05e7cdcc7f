#include "HexText.h"

#include <QTest>

class TestHexText : public QObject
{
    Q_OBJECT
private slots:
    void conversion_data();
    void conversion();
    void errorMessage();
    void output_data();
    void output();
};

// A lax parser (blanks, signs, prefixes, overflow wrap) would let bad control
// base addresses through to the jumpers and the card.
void TestHexText::conversion_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<quint32>("value");
    QTest::newRow("upper") << "2A8" << true << 0x2A8u;
    QTest::newRow("lower") << "2a8" << true << 0x2A8u;
    QTest::newRow("leading zeros beyond eight digits") << "000000300" << true << 0x300u;
    QTest::newRow("zero") << "0" << true << 0u;
    QTest::newRow("max") << "FFFFFFFF" << true << 0xFFFFFFFFu;
    QTest::newRow("above max") << "1FFFFFFFF" << false << 0u;
    QTest::newRow("empty") << "" << false << 0u;
    QTest::newRow("leading blank") << " 300" << false << 0u;
    QTest::newRow("trailing blank") << "300 " << false << 0u;
    QTest::newRow("dollar prefix") << "$300" << false << 0u;
    QTest::newRow("0x prefix") << "0x300" << false << 0u;
    QTest::newRow("sign") << "-300" << false << 0u;
    QTest::newRow("plus") << "+300" << false << 0u;
    QTest::newRow("letter beyond F") << "G00" << false << 0u;
    QTest::newRow("full-width digit") << QString::fromUtf8("\xef\xbc\x93") << false << 0u;
}

void TestHexText::conversion()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(quint32, value);
    std::uint32_t v = 12345;
    QCOMPARE(TryHexToUInt(text, v), ok);
    if (ok)
        QCOMPARE(quint32(v), value);
    else
        QCOMPARE(quint32(v), 12345u); // a failure leaves the output alone
}

void TestHexText::errorMessage()
{
    try {
        HexToUInt(QStringLiteral("3G"));
        QFAIL("no error raised");
    } catch (const EConvertError& e) {
        QCOMPARE(QString::fromStdString(e.what()),
                 QStringLiteral("\"3G\" is not a valid hexadecimal value."));
    }
}

void TestHexText::output_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero width 1") << 0u << 1 << "0";
    QTest::newRow("upper case") << 0x2a0u << 1 << "2A0";
    QTest::newRow("padded to 3") << 0x100u << 3 << "100";
    QTest::newRow("small padded") << 0x8u << 3 << "008";
    QTest::newRow("wider than minimum") << 0xFFFFFFFFu << 3 << "FFFFFFFF";
}

void TestHexText::output()
{
    QFETCH(quint32, value);
    QFETCH(int, width);
    QFETCH(QString, text);
    QCOMPARE(UIntToHex(value, width), text);
}

QTEST_APPLESS_MAIN(TestHexText)
#include "tst_hextext.moc"
