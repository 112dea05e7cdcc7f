#include "DODED32.h"

#include <QTest>

#if defined(__x86_64__) || defined(__i386__)
#include <sys/io.h>
#endif

// The real port-I/O library where the simulated card is not swapped in. On a
// machine without port access (no ioperm, not root, not x86) it must answer
// "driver missing" and write nothing, instead of killing the process.
class TestSimCardReal : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void probe();
    void writeWithoutPortAccess();
    void portsAbove16Bit_data();
    void portsAbove16Bit();

private:
    bool portAccess = false;
};

void TestSimCardReal::initTestCase()
{
    // Whether this process can get port access at all; a grant is kept, the
    // library would get it too.
#if defined(__x86_64__) || defined(__i386__)
    portAccess = ioperm(0x61, 1, 1) == 0;
#endif
    qInfo("port access: %s", portAccess ? "yes" : "no");
}

// Reading without access (inb with no grant) kills the process; answering a
// byte without a driver would hide the start-up warning.
void TestSimCardReal::probe()
{
    for (int i = 0; i < 2; ++i) { // the second read goes past any cached state
        const std::uint32_t value = InPortB(0x61);
        if (portAccess)
            QVERIFY(value <= 0xFF);
        else
            QCOMPARE(value, 0xAA55u);
    }
}

// Writing without access (outb with no grant) kills the process.
void TestSimCardReal::writeWithoutPortAccess()
{
    if (portAccess)
        QSKIP("this machine has port access; writing to the card's ports is not safe here");
    OutPortB(0x301, 1);
    OutPortB(0x302, 0x7F);
    QCOMPARE(InPortB(0x302), 0xAA55u);
}

// A port number cut to 16 bits would read or write an unrelated real port.
void TestSimCardReal::portsAbove16Bit_data()
{
    QTest::addColumn<quint32>("port");
    QTest::newRow("first above") << 0x10000u;
    QTest::newRow("probe port plus 64K") << 0x10061u;
    QTest::newRow("top") << 0xFFFFFFFFu;
}

void TestSimCardReal::portsAbove16Bit()
{
    QFETCH(quint32, port);
    QCOMPARE(InPortB(port), 0xAA55u);
    OutPortB(port, 0);
}

QTEST_GUILESS_MAIN(TestSimCardReal)
#include "tst_simcard_real.moc"
