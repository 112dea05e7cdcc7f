#include "RtfReader.h"

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QList>
#include <QStringDecoder>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <optional>

namespace {

// Groups nested deeper than this share the innermost kept state; their braces
// are still counted so the nesting stays balanced.
constexpr int kMaxDepth = 100;
// Control words longer than this are not words RTF knows; they are read and ignored.
constexpr int kMaxWordLength = 32;
// Numeric parameters are clamped while they are read, so any run of digits is safe.
constexpr long long kParamLimit = 1'000'000'000;
constexpr int kMaxFontName = 256;
constexpr int kMaxTableEntries = 4096;
constexpr int kMinHalfPoints = 2;
constexpr int kMaxHalfPoints = 1000;

// Bytes 0x80 to 0x9F of code page 1252; the others equal Latin-1.
const char16_t kCp1252High[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                                  0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

QChar cp1252(unsigned char b)
{
    return (b >= 0x80 && b <= 0x9F) ? QChar(kCp1252High[b - 0x80]) : QChar(b);
}

enum class Dest
{
    Text,
    FontTable,
    ColorTable,
    Skip
};

// Character formatting of a group; compared to decide where a text run ends.
struct CharState
{
    int font = -1; // -1: the default font (\deff)
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int color = -1; // -1: no colour given

    bool operator==(const CharState& o) const
    {
        return font == o.font && halfPoints == o.halfPoints && bold == o.bold &&
               italic == o.italic && underline == o.underline && strike == o.strike &&
               color == o.color;
    }
    bool operator!=(const CharState& o) const { return !(*this == o); }
};

struct GroupState
{
    Dest dest = Dest::Text;
    CharState chars;
    Qt::Alignment align = Qt::AlignLeft;
    int uc = 1; // fallback characters after \uN
};

struct ColorEntry
{
    int red = 0, green = 0, blue = 0;
    bool given = false; // an entry without components means "automatic"
};

bool isLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}
bool isDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}
int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// Destinations whose contents are not part of the rendered text.
bool isSkippedDestination(const QString& w)
{
    static const QStringList words = {
        QStringLiteral("stylesheet"),
        QStringLiteral("info"),
        QStringLiteral("pict"),
        QStringLiteral("object"),
        QStringLiteral("header"),
        QStringLiteral("headerl"),
        QStringLiteral("headerr"),
        QStringLiteral("headerf"),
        QStringLiteral("footer"),
        QStringLiteral("footerl"),
        QStringLiteral("footerr"),
        QStringLiteral("footerf"),
        QStringLiteral("footnote"),
        QStringLiteral("annotation"),
        QStringLiteral("fldinst"),
        QStringLiteral("listtable"),
        QStringLiteral("listoverridetable"),
        QStringLiteral("revtbl"),
        QStringLiteral("rsidtbl"),
        QStringLiteral("filetbl"),
        QStringLiteral("falt"),
        QStringLiteral("panose"),
        QStringLiteral("xmlnstbl"),
        QStringLiteral("themedata"),
        QStringLiteral("colorschememapping"),
        QStringLiteral("datastore"),
        QStringLiteral("latentstyles"),
        QStringLiteral("generator"),
        QStringLiteral("bkmkstart"),
        QStringLiteral("bkmkend"),
        QStringLiteral("txe"),
        QStringLiteral("xe"),
        QStringLiteral("tc"),
        QStringLiteral("author"),
        QStringLiteral("operator"),
        QStringLiteral("title"),
        QStringLiteral("subject"),
        QStringLiteral("keywords"),
        QStringLiteral("comment"),
        QStringLiteral("doccomm"),
    };
    return words.contains(w);
}

// Words that stand for one character of text.
std::optional<QChar> symbolWord(const QString& w)
{
    static const QHash<QString, char16_t> symbols = {
        {QStringLiteral("emdash"), 0x2014},    {QStringLiteral("endash"), 0x2013},
        {QStringLiteral("bullet"), 0x2022},    {QStringLiteral("lquote"), 0x2018},
        {QStringLiteral("rquote"), 0x2019},    {QStringLiteral("ldblquote"), 0x201C},
        {QStringLiteral("rdblquote"), 0x201D}, {QStringLiteral("tab"), u'\t'},
        {QStringLiteral("line"), 0x2028},      {QStringLiteral("emspace"), 0x2003},
        {QStringLiteral("enspace"), 0x2002},   {QStringLiteral("qmspace"), 0x2005},
        {QStringLiteral("zwj"), 0x200D},       {QStringLiteral("zwnj"), 0x200C},
        {QStringLiteral("ltrmark"), 0x200E},   {QStringLiteral("rtlmark"), 0x200F},
    };
    const auto it = symbols.constFind(w);
    if (it == symbols.constEnd())
        return std::nullopt;
    return QChar(*it);
}

class Reader
{
public:
    Reader(const QString& in, QTextDocument& doc) : m_in(in), m_cursor(&doc) {}

    void run()
    {
        const int n = int(m_in.size());
        int i = 0;
        while (i < n) {
            const QChar c = m_in.at(i);
            if (c == u'{') {
                flushBytes();
                m_ucSkip = 0;
                openGroup();
                ++i;
            } else if (c == u'}') {
                flushBytes();
                m_ucSkip = 0;
                closeGroup();
                ++i;
            } else if (c == u'\\') {
                i = control(i);
            } else if (c == u'\r' || c == u'\n' || (c.unicode() < 0x20 && c != u'\t')) {
                ++i; // line breaks of the file itself are not text
            } else {
                flushBytes();
                if (!consumeFallback())
                    emitChar(c);
                ++i;
            }
        }
        finish();
    }

private:
    // --- groups --------------------------------------------------------------

    void openGroup()
    {
        if (m_stack.size() >= kMaxDepth) {
            ++m_overflow;
            return;
        }
        m_stack.append(m_state);
    }

    void closeGroup()
    {
        if (m_overflow > 0) {
            --m_overflow;
            return;
        }
        if (m_stack.isEmpty())
            return; // a stray closing brace
        if (m_state.dest == Dest::FontTable)
            commitFont();
        m_state = m_stack.takeLast();
        m_ignorableNext = false;
    }

    // --- control words and symbols -------------------------------------------

    // Reads the control word or symbol at the backslash at i; returns the index after it.
    int control(int i)
    {
        const int n = int(m_in.size());
        if (i + 1 >= n)
            return n; // a lone backslash at the end
        const QChar c = m_in.at(i + 1);
        if (!isLetter(c))
            return controlSymbol(i + 1);

        int j = i + 1;
        QString word;
        while (j < n && isLetter(m_in.at(j))) {
            if (word.size() <= kMaxWordLength)
                word.append(m_in.at(j));
            ++j;
        }
        bool hasParam = false;
        bool negative = false;
        long long value = 0;
        if (j + 1 < n && m_in.at(j) == u'-' && isDigit(m_in.at(j + 1))) {
            negative = true;
            ++j;
        }
        while (j < n && isDigit(m_in.at(j))) {
            hasParam = true;
            value = std::min(kParamLimit, value * 10 + (m_in.at(j).unicode() - '0'));
            ++j;
        }
        if (j < n && m_in.at(j) == u' ')
            ++j; // the blank that ends a control word belongs to it
        const int param = int(negative ? -value : value);

        if (word == QLatin1String("bin")) {
            flushBytes();
            // Binary data: the parameter counts the characters that follow.
            return int(std::min<long long>(n, j + std::max(0, param)));
        }
        if (word.size() > kMaxWordLength) {
            flushBytes();
            consumeFallback();
            return j;
        }
        flushBytes();
        if (consumeFallback())
            return j;
        controlWord(word, hasParam, param);
        return j;
    }

    int controlSymbol(int k)
    {
        const QChar c = m_in.at(k);
        if (c == u'\'') {
            // \'hh: one byte in the document's code page; a damaged escape is dropped.
            const int n = int(m_in.size());
            const int hi = k + 1 < n ? hexValue(m_in.at(k + 1)) : -1;
            const int lo = k + 2 < n ? hexValue(m_in.at(k + 2)) : -1;
            if (hi < 0 || lo < 0)
                return k + 1 + (hi >= 0 ? 1 : 0);
            if (!consumeFallback() && m_state.dest != Dest::Skip)
                m_bytes.append(char(hi * 16 + lo));
            return k + 3;
        }
        flushBytes();
        if (c == u'*') {
            m_ignorableNext = true;
            return k + 1;
        }
        if (consumeFallback())
            return k + 1;
        switch (c.unicode()) {
        case u'\\':
        case u'{':
        case u'}':
            emitChar(c);
            break;
        case u'~':
            emitChar(QChar(0x00A0));
            break;
        case u'-':
            emitChar(QChar(0x00AD));
            break;
        case u'_':
            emitChar(QChar(0x2011));
            break;
        case u'\r':
        case u'\n':
            paragraph();
            break;
        default:
            break; // \| \: and unknown symbols
        }
        return k + 1;
    }

    void controlWord(const QString& w, bool hasParam, int param)
    {
        if (m_ignorableNext) {
            // \* before a destination we do not render: drop the whole group.
            m_ignorableNext = false;
            if (w != QLatin1String("fonttbl") && w != QLatin1String("colortbl")) {
                m_state.dest = Dest::Skip;
                return;
            }
        }
        if (m_state.dest == Dest::Skip)
            return;
        if (w == QLatin1String("fonttbl")) {
            m_state.dest = Dest::FontTable;
            m_fontNumber = 0;
            m_fontName.clear();
            return;
        }
        if (w == QLatin1String("colortbl")) {
            m_state.dest = Dest::ColorTable;
            m_color = ColorEntry();
            return;
        }
        if (isSkippedDestination(w)) {
            m_state.dest = Dest::Skip;
            return;
        }
        if (w == QLatin1String("uc")) {
            m_state.uc = std::clamp(param, 0, 16);
            return;
        }
        if (w == QLatin1String("u")) {
            // Signed 16-bit code unit; the fallback characters that follow are skipped.
            const int unit = std::clamp(param, -32768, 65535);
            emitChar(QChar(char16_t(unit < 0 ? unit + 65536 : unit)));
            m_ucSkip = m_state.uc;
            return;
        }
        if (w == QLatin1String("ansicpg")) {
            setCodePage(param);
            return;
        }
        if (w == QLatin1String("ansi")) {
            setCodePage(1252);
            return;
        }
        if (w == QLatin1String("deff")) {
            m_defaultFont = param;
            return;
        }

        switch (m_state.dest) {
        case Dest::FontTable:
            if (w == QLatin1String("f")) {
                commitFont();
                m_fontNumber = param;
            }
            return;
        case Dest::ColorTable:
            if (w == QLatin1String("red"))
                m_color.red = std::clamp(param, 0, 255), m_color.given = true;
            else if (w == QLatin1String("green"))
                m_color.green = std::clamp(param, 0, 255), m_color.given = true;
            else if (w == QLatin1String("blue"))
                m_color.blue = std::clamp(param, 0, 255), m_color.given = true;
            return;
        case Dest::Skip:
            return;
        case Dest::Text:
            break;
        }

        const bool on = !hasParam || param != 0;
        CharState& ch = m_state.chars;
        if (const std::optional<QChar> s = symbolWord(w))
            emitChar(*s);
        else if (w == QLatin1String("par") || w == QLatin1String("sect") ||
                 w == QLatin1String("page"))
            paragraph();
        else if (w == QLatin1String("pard"))
            m_state.align = Qt::AlignLeft;
        else if (w == QLatin1String("ql"))
            m_state.align = Qt::AlignLeft;
        else if (w == QLatin1String("qc"))
            m_state.align = Qt::AlignHCenter;
        else if (w == QLatin1String("qr"))
            m_state.align = Qt::AlignRight;
        else if (w == QLatin1String("qj"))
            m_state.align = Qt::AlignJustify;
        else if (w == QLatin1String("plain"))
            ch = CharState();
        else if (w == QLatin1String("b"))
            ch.bold = on;
        else if (w == QLatin1String("i"))
            ch.italic = on;
        else if (w == QLatin1String("ul"))
            ch.underline = on;
        else if (w == QLatin1String("ulnone"))
            ch.underline = false;
        else if (w == QLatin1String("strike"))
            ch.strike = on;
        else if (w == QLatin1String("f"))
            ch.font = param;
        else if (w == QLatin1String("fs"))
            ch.halfPoints = hasParam ? std::clamp(param, kMinHalfPoints, kMaxHalfPoints) : 24;
        else if (w == QLatin1String("cf"))
            ch.color = param;
        // Any other word is ignored.
    }

    // --- text ----------------------------------------------------------------

    // True when the character at hand is one of the fallback characters of \uN.
    bool consumeFallback()
    {
        if (m_ucSkip <= 0)
            return false;
        --m_ucSkip;
        return true;
    }

    void emitChar(QChar c)
    {
        switch (m_state.dest) {
        case Dest::Text:
            if (m_run.isEmpty() || m_runChars != m_state.chars) {
                flushRun();
                m_runChars = m_state.chars;
            }
            m_run.append(c);
            break;
        case Dest::FontTable:
            if (c == u';')
                commitFont();
            else if (m_fontName.size() < kMaxFontName)
                m_fontName.append(c);
            break;
        case Dest::ColorTable:
            if (c == u';' && m_colors.size() < kMaxTableEntries) {
                m_colors.append(m_color);
                m_color = ColorEntry();
            }
            break;
        case Dest::Skip:
            break;
        }
    }

    void commitFont()
    {
        const QString name = m_fontName.trimmed();
        if (!name.isEmpty() &&
            (m_fonts.size() < kMaxTableEntries || m_fonts.contains(m_fontNumber)))
            m_fonts.insert(m_fontNumber, name);
        m_fontName.clear();
    }

    void setCodePage(int cp)
    {
        m_decoder.reset();
        if (cp == 1252)
            return;
        for (const QString& name :
             {QStringLiteral("windows-%1").arg(cp), QStringLiteral("cp%1").arg(cp)}) {
            QStringDecoder d(name.toLatin1().constData());
            if (d.isValid()) {
                m_decoder.emplace(std::move(d));
                return;
            }
        }
    }

    // Bytes from \'hh are decoded together, so multi-byte code pages work too.
    void flushBytes()
    {
        if (m_bytes.isEmpty())
            return;
        const QByteArray bytes = m_bytes;
        m_bytes.clear();
        if (m_decoder) {
            const QString text = m_decoder->decode(bytes);
            m_decoder->resetState();
            for (QChar c : text)
                emitChar(c);
            return;
        }
        for (char b : bytes)
            emitChar(cp1252(static_cast<unsigned char>(b)));
    }

    QTextCharFormat charFormat(const CharState& s) const
    {
        QTextCharFormat f;
        const auto font = m_fonts.constFind(s.font < 0 ? m_defaultFont : s.font);
        if (font != m_fonts.constEnd())
            f.setFontFamilies(QStringList{*font});
        f.setFontPointSize(s.halfPoints / 2.0);
        f.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
        f.setFontItalic(s.italic);
        f.setFontUnderline(s.underline);
        f.setFontStrikeOut(s.strike);
        if (s.color >= 0 && s.color < m_colors.size() && m_colors[s.color].given) {
            const ColorEntry& e = m_colors[s.color];
            f.setForeground(QColor(e.red, e.green, e.blue));
        }
        return f;
    }

    void flushRun()
    {
        if (m_run.isEmpty())
            return;
        m_cursor.insertText(m_run, charFormat(m_runChars));
        m_run.clear();
    }

    void applyBlockFormat()
    {
        QTextBlockFormat b = m_cursor.blockFormat();
        b.setAlignment(m_state.align);
        m_cursor.setBlockFormat(b);
    }

    void paragraph()
    {
        if (m_state.dest != Dest::Text)
            return;
        flushRun();
        applyBlockFormat();
        QTextBlockFormat b;
        b.setAlignment(m_state.align);
        m_cursor.insertBlock(b, charFormat(m_state.chars));
    }

    void finish()
    {
        flushBytes();
        flushRun();
        applyBlockFormat();
    }

    const QString& m_in;
    QTextCursor m_cursor;

    GroupState m_state;
    QList<GroupState> m_stack;
    int m_overflow = 0;
    bool m_ignorableNext = false;
    int m_ucSkip = 0;

    QHash<int, QString> m_fonts;
    int m_defaultFont = 0;
    int m_fontNumber = 0;
    QString m_fontName;
    QList<ColorEntry> m_colors;
    ColorEntry m_color;

    std::optional<QStringDecoder> m_decoder;
    QByteArray m_bytes;

    QString m_run;
    CharState m_runChars;
};

} // namespace

void ReadRtf(const QString& rtf, QTextDocument& doc)
{
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear();
    {
        Reader reader(rtf, doc);
        reader.run();
    }
    doc.setUndoRedoEnabled(undo);
}

QString RtfEscape(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}') {
            out.append(u'\\');
            out.append(c);
        } else if (u >= 0x80) {
            out.append(QStringLiteral("\\u%1?").arg(int(short(u))));
        } else {
            out.append(c);
        }
    }
    return out;
}
