#include "DODED32.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The simulated-card port-I/O library. CTest puts its folder first on
// LD_LIBRARY_PATH, so these calls reach it instead of the real library.
class TestSimCard : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void traceLines_data();
    void traceLines();
    void traceAppendsAndIsWrittenAtOnce();
    void registers_data();
    void registers();
    void otherReads();
    void missingDriver();
    void portsAbove16Bit();

private:
    QByteArray trace() const;
    QTemporaryDir dir;
    QString tracePath;
};

namespace {
const quint8 RegisterValues[10] = {0x7F, 0x5F, 0x7D, 0x5D, 0, 0, 0, 0, 0x04, 0};

void writeRegister(std::uint32_t base, std::uint8_t index, std::uint8_t value)
{
    OutPortB(base + 1, index);
    OutPortB(base + 2, value);
}

std::uint32_t readRegister(std::uint32_t base, std::uint8_t index)
{
    OutPortB(base + 1, index);
    return InPortB(base + 2);
}
} // namespace

void TestSimCard::init()
{
    QVERIFY(dir.isValid());
    tracePath = dir.filePath(QStringLiteral("trace-%1.txt").arg(QTest::currentTestFunction()));
    QFile::remove(tracePath);
    qputenv("DODED32_SIM_TRACE", QFile::encodeName(tracePath));
    qunsetenv("DODED32_SIM_DRIVER");
}

void TestSimCard::cleanup()
{
    qunsetenv("DODED32_SIM_TRACE");
    qunsetenv("DODED32_SIM_DRIVER");
}

QByteArray TestSimCard::trace() const
{
    QFile f(tracePath);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// Tests and the Xvfb runs compare the trace text exactly: lower-case digits,
// other widths or a missing newline would break every comparison.
void TestSimCard::traceLines_data()
{
    QTest::addColumn<bool>("write");
    QTest::addColumn<quint32>("port");
    QTest::addColumn<quint8>("value");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("write index") << true << 0x301u << quint8(1) << QByteArray("out 0301 01\n");
    QTest::newRow("write hex letters")
        << true << 0x2AAu << quint8(0xAB) << QByteArray("out 02AA AB\n");
    QTest::newRow("write low port") << true << 0x80u << quint8(0) << QByteArray("out 0080 00\n");
    QTest::newRow("read probe port") << false << 0x61u << quint8(0) << QByteArray("in 0061 00FF\n");
    QTest::newRow("read top port") << false << 0xFFFFu << quint8(0) << QByteArray("in FFFF 00FF\n");
}

void TestSimCard::traceLines()
{
    QFETCH(bool, write);
    QFETCH(quint32, port);
    QFETCH(quint8, value);
    QFETCH(QByteArray, line);
    if (write)
        OutPortB(port, value);
    else
        InPortB(port);
    QCOMPARE(trace(), line);
}

// A buffered trace would be lost when a run is killed, and a trace that
// truncates the file would drop the lines of earlier calls.
void TestSimCard::traceAppendsAndIsWrittenAtOnce()
{
    {
        QFile f(tracePath);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("earlier\n");
    }
    OutPortB(0x301, 9);
    QCOMPARE(trace(), QByteArray("earlier\nout 0301 09\n")); // read back while still running
    InPortB(0x61);
    QCOMPARE(trace(), QByteArray("earlier\nout 0301 09\nin 0061 00FF\n"));
}

// The card must keep what the port-resource programming wrote, at any control
// base: a card tied to one base, or registers that bleed into one another,
// would hide wrong index and data writes.
void TestSimCard::registers_data()
{
    QTest::addColumn<quint32>("base");
    QTest::newRow("300") << 0x300u;
    QTest::newRow("2A8") << 0x2A8u;
    QTest::newRow("top of the port space") << 0xFFF0u;
}

void TestSimCard::registers()
{
    QFETCH(quint32, base);
    for (int i = 0; i < 10; ++i)
        writeRegister(base, quint8(i + 1), RegisterValues[i]);
    writeRegister(base, 11, 0x33); // beyond the ten registers: stored nowhere
    writeRegister(base, 0, 0x44);
    for (int i = 9; i >= 0; --i)
        QCOMPARE(readRegister(base, quint8(i + 1)), quint32(RegisterValues[i]));
    QCOMPARE(readRegister(base, 11), 0xFFu);
    QCOMPARE(readRegister(base, 0), 0xFFu);

    // Data writes one after another go to the same selected register.
    OutPortB(base + 1, 9);
    OutPortB(base + 2, 0x0E);
    OutPortB(base + 2, 0x0F);
    QCOMPARE(InPortB(base + 2), 0x0Fu);
    QCOMPARE(readRegister(base, 8), 0u);
}

// The probe of port 0x61 must see a driver (not 0xAA55) and ports other than
// the data port must read as an empty bus.
void TestSimCard::otherReads()
{
    QCOMPARE(InPortB(0x61), 0xFFu);
    writeRegister(0x300, 1, 0x7F);
    QCOMPARE(InPortB(0x300), 0xFFu);
    QCOMPARE(InPortB(0x301), 0xFFu);
    QCOMPARE(InPortB(0x303), 0xFFu);
    QCOMPARE(InPortB(0x302), 0x7Fu);
}

// Without a driver the program must see 0xAA55 and nothing may reach the card,
// while the trace still shows what was attempted.
void TestSimCard::missingDriver()
{
    writeRegister(0x300, 1, 0x7F);
    qputenv("DODED32_SIM_DRIVER", "missing");
    QCOMPARE(InPortB(0x61), 0xAA55u);
    writeRegister(0x300, 1, 0x20);
    QCOMPARE(InPortB(0x302), 0xAA55u);
    qunsetenv("DODED32_SIM_DRIVER");
    QCOMPARE(InPortB(0x302), 0x7Fu);
    QCOMPARE(trace(), QByteArray("out 0301 01\nout 0302 7F\n"
                                 "in 0061 AA55\nout 0301 01\nout 0302 20\nin 0302 AA55\n"
                                 "in 0302 007F\n"));
}

// Ports above 0xFFFF do not exist: they must neither read as a byte nor change
// the card, and the trace must show the full port, not a truncated one.
void TestSimCard::portsAbove16Bit()
{
    writeRegister(0x300, 1, 0x7F);
    QCOMPARE(InPortB(0x10302), 0xAA55u);
    OutPortB(0x10301, 2); // would select register 2 at 0x301 if wrapped
    OutPortB(0x10302, 0x11);
    QCOMPARE(InPortB(0x302), 0x7Fu);
    QVERIFY(trace().endsWith("in 10302 AA55\nout 10301 02\nout 10302 11\nin 0302 007F\n"));
}

QTEST_GUILESS_MAIN(TestSimCard)
#include "tst_simcard.moc"
