#include "RtfReader.h"
#include "TSetupSupporter.h"

#include <QApplication>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

class TestRtfReader : public QObject
{
    Q_OBJECT
private slots:
    void text_data();
    void text();
    void formats();
    void escapeRoundTrip();
    void mangledInput();
};

namespace {

QString S(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// The document's characters as stored, blocks joined by "\n" (toPlainText
// would turn no-break spaces and line separators into blanks and breaks).
QString rawText(const QTextDocument& doc)
{
    QStringList blocks;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        blocks.append(b.text());
    return blocks.join(QLatin1Char('\n'));
}

QString read(const QString& rtf)
{
    QTextDocument doc;
    ReadRtf(rtf, doc);
    return rawText(doc);
}

// The character format in force at the first occurrence of text.
QTextCharFormat formatOf(const QTextDocument& doc, const QString& text)
{
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().text().contains(text))
                return it.fragment().charFormat();
    return QTextCharFormat();
}

} // namespace

// Each row shows one piece of the syntax read wrongly: a delimiting blank kept
// as text, a symbol or escape decoded to the wrong character, a destination or
// unknown word leaking into the text, a \u fallback not skipped.
void TestRtfReader::text_data()
{
    QTest::addColumn<QString>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::newRow("groups and the delimiting blank")
        << S(R"({\rtf1 {\b bold} plain  two})") << QStringLiteral("bold plain  two");
    QTest::newRow("control symbols") << S(R"({\rtf1 a\\b\{c\}})") << QStringLiteral("a\\b{c}");
    QTest::newRow("symbol words")
        << S(R"({\rtf1 \emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote})")
        << QStringLiteral("\u2014\u2013\u2022\u2018\u2019\u201C\u201D");
    QTest::newRow("emdash followed by two blanks")
        << S(R"({\rtf1 a \emdash  b})") << QStringLiteral("a \u2014 b");
    QTest::newRow("tab, line, no-break space and hyphens")
        << S(R"({\rtf1 a\tab b\line c\~d\-e\_f})")
        << QStringLiteral("a\tb\u2028c\u00A0d\u00ADe\u2011f");
    QTest::newRow("hex bytes in code page 1252")
        << S(R"({\rtf1\ansi\ansicpg1252 \'e9\'80\'93\'FC})")
        << QStringLiteral("\u00E9\u20AC\u201C\u00FC");
    QTest::newRow("\\u skips one fallback character")
        << S(R"({\rtf1\uc1 \u8364?x})") << QStringLiteral("\u20ACx");
    QTest::newRow("\\uc2 skips a hex byte and a character")
        << S(R"({\rtf1\uc2 \u8364\'80?y})") << QStringLiteral("\u20ACy");
    QTest::newRow("\\uc0 skips nothing")
        << S(R"({\rtf1\uc0 \u233 x})") << QStringLiteral("\u00E9x");
    QTest::newRow("negative \\u is a code unit above 32767")
        << S(R"({\rtf1 \u-3913?})") << QStringLiteral("\uF0B7");
    QTest::newRow("a brace ends the fallback")
        << S(R"({\rtf1\uc3 \u233{x}y})") << QStringLiteral("\u00E9xy");
    QTest::newRow("\\uc is group-scoped")
        << S(R"({\rtf1{\uc2 \u233??}\u233?z})") << QStringLiteral("\u00E9\u00E9z");
    QTest::newRow("ignorable destination")
        << S(R"({\rtf1 a{\*\generator Foo 1.0;}b{\*\xyz c}d})") << QStringLiteral("abd");
    QTest::newRow("skipped destinations")
        << S(R"({\rtf1 {\info{\title T}{\author A}}x{\pict 0a0b}})") << QStringLiteral("x");
    QTest::newRow("unknown words are skipped")
        << S(R"({\rtf1 \foo\bar12\baz-3 text})") << QStringLiteral("text");
    QTest::newRow("tables are not text")
        << S(R"({\rtf1{\fonttbl{\f0\fswiss Verdana;}}{\colortbl;\red1\green2\blue3;}x})")
        << QStringLiteral("x");
    QTest::newRow("paragraphs and empty lines")
        << S(R"({\rtf1 a\par b\par\par\pard c})") << QStringLiteral("a\nb\n\nc");
    QTest::newRow("file line breaks are not text")
        << QStringLiteral("{\\rtf1 a\r\nb\nc}") << QStringLiteral("abc");
    QTest::newRow("backslash before a line break is a paragraph")
        << QStringLiteral("{\\rtf1 a\\\nb}") << QStringLiteral("a\nb");
    QTest::newRow("binary data is skipped") << S(R"({\rtf1 a\bin3 {}\b})") << QStringLiteral("ab");
}

void TestRtfReader::text()
{
    QFETCH(QString, rtf);
    QFETCH(QString, expected);
    QCOMPARE(read(rtf), expected);
}

// Catches formatting that does not follow the groups and tables: sizes in
// half-points, \b0, \plain, font and colour indexes, and numbers too large to
// be sizes.
void TestRtfReader::formats()
{
    QTextDocument doc;
    ReadRtf(QStringLiteral(R"({\rtf1\deff0{\fonttbl{\f0\fswiss Verdana;}{\f1\fmodern Courier;}})"
                           R"({\colortbl\red64\green64\blue64;\red255\green0\blue0;}\f0\fs32\cf0)"
                           R"({\b Title}\par\fs24 body {\cf1\b red} \b0 after\f1 mono\plain plain)"
                           R"( {\fs99999999999999 huge}{\fs-4 tiny}{\cf9 nocolour}})"),
            doc);
    const QColor grey(64, 64, 64);

    QTextCharFormat f = formatOf(doc, QStringLiteral("Title"));
    QCOMPARE(f.fontPointSize(), 16.0);
    QCOMPARE(f.fontWeight(), int(QFont::Bold));
    QCOMPARE(f.foreground().color(), grey);
    QCOMPARE(f.fontFamilies().toStringList(), QStringList{QStringLiteral("Verdana")});

    f = formatOf(doc, QStringLiteral("body"));
    QCOMPARE(f.fontPointSize(), 12.0);
    QCOMPARE(f.fontWeight(), int(QFont::Normal));
    QCOMPARE(f.foreground().color(), grey);

    f = formatOf(doc, QStringLiteral("red"));
    QCOMPARE(f.fontWeight(), int(QFont::Bold));
    QCOMPARE(f.foreground().color(), QColor(255, 0, 0));

    f = formatOf(doc, QStringLiteral("after"));
    QCOMPARE(f.fontWeight(), int(QFont::Normal));
    QCOMPARE(f.foreground().color(), grey);

    f = formatOf(doc, QStringLiteral("mono"));
    QCOMPARE(f.fontFamilies().toStringList(), QStringList{QStringLiteral("Courier")});

    f = formatOf(doc, QStringLiteral("plain"));
    QCOMPARE(f.fontPointSize(), 12.0);
    QCOMPARE(f.fontFamilies().toStringList(), QStringList{QStringLiteral("Verdana")});
    QVERIFY(!f.hasProperty(QTextFormat::ForegroundBrush));

    QCOMPARE(formatOf(doc, QStringLiteral("huge")).fontPointSize(), 500.0);
    QCOMPARE(formatOf(doc, QStringLiteral("tiny")).fontPointSize(), 1.0);
    QVERIFY(!formatOf(doc, QStringLiteral("nocolour")).hasProperty(QTextFormat::ForegroundBrush));
}

// Text with RTF's special characters must come back as itself once escaped.
void TestRtfReader::escapeRoundTrip()
{
    const QString text = QStringLiteral("A{B}\\C \u00E9\u20AC\uFFFD x");
    QCOMPARE(read(QStringLiteral("{\\rtf1\\uc1 ") + RtfEscape(text) + QLatin1Char('}')), text);
}

// Damaged documents must never crash or hang the reader: every truncation and
// many byte flips of the help document, deep nesting, stray braces, huge
// numbers and cut-off escapes. Where text survives, it is rendered.
void TestRtfReader::mangledInput()
{
    TSetupSupporter sup(nullptr);
    sup.SetCompanyName(QStringLiteral("KELDO"));
    sup.SetCardNameA(QStringLiteral("QL-4S"));
    sup.SetMultiPort(true);
    sup.OnGetCardString = [](QObject*, std::int32_t) { return QString(); };
    const QString help = sup.HelpDocument();
    QVERIFY(help.size() > 1000);

    QTextDocument doc;
    for (int n = 0; n <= help.size(); ++n)
        ReadRtf(help.left(n), doc);

    // Deterministic mutations: replace, insert or delete characters, biased
    // toward the characters RTF gives meaning to.
    const QString nasty = QStringLiteral("\\{}'*-0123456789 uabcf;\r\n\x01\u00FF") + QChar(0xD800);
    quint32 seed = 12345;
    auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    for (int round = 0; round < 3000; ++round) {
        QString s = help;
        const int edits = 1 + int(next() % 8);
        for (int e = 0; e < edits; ++e) {
            const int pos = int(next() % quint32(s.size()));
            const QChar c = (next() & 1) ? nasty.at(int(next() % quint32(nasty.size())))
                                         : QChar(char16_t(next() % 256));
            switch (next() % 3) {
            case 0:
                s[pos] = c;
                break;
            case 1:
                s.insert(pos, c);
                break;
            default:
                s.remove(pos, 1);
                break;
            }
        }
        ReadRtf(s, doc);
    }

    const QString deep = QString(200000, QLatin1Char('{')) + QStringLiteral("deep text");
    ReadRtf(deep, doc);
    QVERIFY(rawText(doc).contains(QStringLiteral("deep text")));
    ReadRtf(deep + QString(200000, QLatin1Char('}')) + QStringLiteral("after"), doc);
    QVERIFY(rawText(doc).contains(QStringLiteral("deep textafter")));
    ReadRtf(QStringLiteral("{\\b ").repeated(100000) + QStringLiteral("bold"), doc);
    QVERIFY(rawText(doc).contains(QStringLiteral("bold")));
    ReadRtf(QString(100000, QLatin1Char('}')) + QStringLiteral("{\\rtf1 still}"), doc);
    QCOMPARE(rawText(doc), QStringLiteral("still"));

    const QStringList odd = {
        QStringLiteral("{\\rtf1 \\fs") + QString(5000, QLatin1Char('9')) + QStringLiteral(" x}"),
        QStringLiteral("{\\rtf1 \\u-") + QString(100, QLatin1Char('9')) + QStringLiteral("?x}"),
        QStringLiteral("{\\rtf1 \\uc99999999999 \\u233 x}"),
        QStringLiteral("{\\rtf1 \\bin99999999999 x}"),
        QStringLiteral("{\\rtf1 \\bin-5 x}"),
        QStringLiteral("{\\rtf1 \\cf-99999999999 x\\f99999999999 y}"),
        QStringLiteral("{\\rtf1 ") + QString(100000, QLatin1Char('a')).prepend(u'\\') +
            QStringLiteral("5 x}"),
        QStringLiteral("{\\rtf1{\\colortbl") + QStringLiteral(";").repeated(100000) +
            QStringLiteral("}\\cf99999 x}"),
        QStringLiteral("{\\rtf1\\ansicpg99999 \\'e9}"),
        QStringLiteral("{\\rtf1\\ansicpg932 \\'82\\'a0}"),
        QStringLiteral("x\\'"),
        QStringLiteral("x\\'4"),
        QStringLiteral("x\\'4g"),
        QStringLiteral("x\\"),
        QStringLiteral("x\\u"),
        QStringLiteral("x\\u-"),
        QStringLiteral("{\\*"),
        QStringLiteral("{\\fonttbl{\\f0 ") + QString(100000, QLatin1Char('n')),
    };
    for (const QString& s : odd)
        ReadRtf(s, doc);
    ReadRtf(QStringLiteral("x\\'4g"), doc);
    QCOMPARE(rawText(doc), QStringLiteral("xg"));
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TestRtfReader t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_rtfreader.moc"
