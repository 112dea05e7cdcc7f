#include "LLRURERU.h"

#include <QTest>

#include <dlfcn.h>

// Binding through the normal library search: CTest runs this with the full
// stand-in's folder on LD_LIBRARY_PATH and RURERU_STUB_NUM_CARDS=3. The partial
// stand-in is never loaded by anything else in this process.
class TestLLRURERUSearch : public QObject
{
    Q_OBJECT
private slots:
    void boundOnceThenLeftAlone();
};

// A driver looked up under another file name than libRURERU.so would not be
// found; a call with the flag True that still opened a library would load
// whatever the search finds now.
void TestLLRURERUSearch::boundOnceThenLeftAlone()
{
    QCOMPARE(QByteArray(CardDriverLibraryName), QByteArray("libRURERU.so"));
    LoadCardDriver();
    QVERIFY(CardDriverLoaded);
    QCOMPARE(GetNumCards(), 3);

    CardDriverLibraryName = RURERU_PARTIAL_PATH;
    LoadCardDriver();
    QVERIFY(CardDriverLoaded);
    QCOMPARE(dlopen(RURERU_PARTIAL_PATH, RTLD_NOW | RTLD_NOLOAD), nullptr);
    QCOMPARE(GetNumCards(), 3);
}

QTEST_GUILESS_MAIN(TestLLRURERUSearch)
#include "tst_llrureru_search.moc"
