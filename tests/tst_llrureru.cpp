#include "LLRURERU.h"

#include <QTest>

#include <dlfcn.h>

// Binding of the card driver library, against the stand-in libraries opened by
// path. The process has no libRURERU.so on its library search path, so the
// default name finds nothing.
class TestLLRURERU : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void missingLibraryLeavesEverything();
    void fullLibraryBindsEveryEntryByName();
    void numCards_data();
    void numCards();
    void partialLibraryBindsWhatItHas();
    void partialLibraryIsLookedUpAgain();
    void laterCallBindsReplacedLibrary();
    void boundDriverIsNotTouchedAgain();
};

namespace {
// Marks an entry so a test sees whether a call wrote it.
int sentinelObject;
void* const Sentinel = &sentinelObject;

// Names the partial stand-in exports; the first name missing (QueryCardInfo)
// comes before several that are present.
const QList<QByteArray> PartialNames = {"GetNumCards", "QueryBARBase", "WDGPet", "OutPortB",
                                        "RelOutPortDWord"};

void* openedLibrary(const char* path)
{
    // Already loaded by LoadCardDriver; this only takes another reference.
    void* handle = dlopen(path, RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD);
    if (!handle)
        qFatal("%s is not loaded", path);
    return handle;
}

void fillEntries(void* value)
{
    for (void*& entry : CardDriverEntries)
        entry = value;
}
} // namespace

void TestLLRURERU::init()
{
    fillEntries(nullptr);
    CardDriverLoaded = false;
    CardDriverLibraryName = "libRURERU.so";
    qunsetenv("RURERU_STUB_NUM_CARDS");
}

void TestLLRURERU::cleanup()
{
    init();
}

// A failed load that cleared or overwrote the entries, or answered a card
// count without a bound GetNumCards, would show cards that are not there.
void TestLLRURERU::missingLibraryLeavesEverything()
{
    fillEntries(Sentinel);
    LoadCardDriver();
    QVERIFY(!CardDriverLoaded);
    for (void* entry : CardDriverEntries)
        QCOMPARE(entry, Sentinel);

    fillEntries(nullptr);
    LoadCardDriver();
    QVERIFY(!CardDriverLoaded);
    QCOMPARE(GetNumCards(), 0);
}

// An entry stored in the wrong slot, or a name spelt differently from the
// library's export, would bind the wrong function or leave the flag False.
void TestLLRURERU::fullLibraryBindsEveryEntryByName()
{
    CardDriverLibraryName = RURERU_FULL_PATH;
    LoadCardDriver();
    QVERIFY(CardDriverLoaded);
    void* library = openedLibrary(RURERU_FULL_PATH);
    for (int i = 0; i < CardDriverEntryCount; ++i) {
        QVERIFY2(CardDriverEntries[i], CardDriverEntryNames[i]);
        QCOMPARE(CardDriverEntries[i], dlsym(library, CardDriverEntryNames[i]));
    }
    dlclose(library);
}

// GetNumCards must pass the library's signed count through unchanged; the
// supporter treats 0 or less as no card.
void TestLLRURERU::numCards_data()
{
    QTest::addColumn<QByteArray>("env");
    QTest::addColumn<int>("count");
    QTest::newRow("unset") << QByteArray() << 0;
    QTest::newRow("three cards") << QByteArray("3") << 3;
    QTest::newRow("negative") << QByteArray("-2") << -2;
}

void TestLLRURERU::numCards()
{
    QFETCH(QByteArray, env);
    QFETCH(int, count);
    if (!env.isNull())
        qputenv("RURERU_STUB_NUM_CARDS", env);
    CardDriverLibraryName = RURERU_FULL_PATH;
    LoadCardDriver();
    QVERIFY(CardDriverLoaded);
    QCOMPARE(GetNumCards(), count);
}

// Stopping at the first missing export would leave later entries empty; a flag
// set on a partial binding would claim a usable driver.
void TestLLRURERU::partialLibraryBindsWhatItHas()
{
    qputenv("RURERU_STUB_NUM_CARDS", "4");
    CardDriverLibraryName = RURERU_PARTIAL_PATH;
    LoadCardDriver();
    QVERIFY(!CardDriverLoaded);
    void* library = openedLibrary(RURERU_PARTIAL_PATH);
    int bound = 0;
    for (int i = 0; i < CardDriverEntryCount; ++i) {
        const bool exported = PartialNames.contains(CardDriverEntryNames[i]);
        QCOMPARE(CardDriverEntries[i] != nullptr, exported);
        if (exported) {
            QCOMPARE(CardDriverEntries[i], dlsym(library, CardDriverEntryNames[i]));
            ++bound;
        }
    }
    dlclose(library);
    QCOMPARE(bound, PartialNames.size());
    QCOMPARE(GetNumCards(), 4); // a bound GetNumCards is called even with the flag False
}

// While the flag is False a second call must look every name up again and
// store the outcome, empty ones included.
void TestLLRURERU::partialLibraryIsLookedUpAgain()
{
    CardDriverLibraryName = RURERU_PARTIAL_PATH;
    LoadCardDriver();
    QVERIFY(!CardDriverLoaded);
    fillEntries(Sentinel);
    LoadCardDriver();
    QVERIFY(!CardDriverLoaded);
    for (int i = 0; i < CardDriverEntryCount; ++i) {
        QVERIFY2(CardDriverEntries[i] != Sentinel, CardDriverEntryNames[i]);
        QCOMPARE(CardDriverEntries[i] != nullptr, PartialNames.contains(CardDriverEntryNames[i]));
    }
}

// A call after a partial binding must load the library again, not reuse what
// the first call found.
void TestLLRURERU::laterCallBindsReplacedLibrary()
{
    CardDriverLibraryName = RURERU_PARTIAL_PATH;
    LoadCardDriver();
    QVERIFY(!CardDriverLoaded);
    CardDriverLibraryName = RURERU_FULL_PATH;
    LoadCardDriver();
    QVERIFY(CardDriverLoaded);
    void* library = openedLibrary(RURERU_FULL_PATH);
    for (int i = 0; i < CardDriverEntryCount; ++i)
        QCOMPARE(CardDriverEntries[i], dlsym(library, CardDriverEntryNames[i]));
    dlclose(library);
}

// With the flag True a call must not look anything up: a lookup in another
// library would overwrite the entries and drop the flag.
void TestLLRURERU::boundDriverIsNotTouchedAgain()
{
    CardDriverLibraryName = RURERU_FULL_PATH;
    LoadCardDriver();
    QVERIFY(CardDriverLoaded);
    fillEntries(Sentinel);
    CardDriverLibraryName = RURERU_PARTIAL_PATH;
    LoadCardDriver();
    QVERIFY(CardDriverLoaded);
    for (void* entry : CardDriverEntries)
        QCOMPARE(entry, Sentinel);
}

QTEST_GUILESS_MAIN(TestLLRURERU)
#include "tst_llrureru.moc"
