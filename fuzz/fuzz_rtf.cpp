// The RTF reader on untrusted text: any input reads without a crash, overrun
// or hang (libFuzzer's -timeout catches a reader that is not linear), and
// plain text escaped with RtfEscape reads back as exactly that text.

#include "RtfReader.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Characters that stand for themselves in a document's raw text: no control
// characters, no surrogate halves, none of the separators and object marks
// that QTextDocument itself uses.
bool plainCharacter(char16_t u)
{
    if (u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0))
        return false;
    if (u >= 0xD800 && u <= 0xDFFF)
        return false;
    return u != 0x2028 && u != 0x2029 && u != 0xFDD0 && u != 0xFDD1 && u != 0xFFFC && u != 0xFEFF &&
           u != 0xFFFE && u != 0xFFFF;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Character formats carry fonts, which need the GUI application.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QTextDocument doc;
    // The bytes as RTF text, in the 8-bit form RTF is written in.
    ReadRtf(QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size)), doc);

    // The bytes as UTF-16 text, escaped into a one-paragraph document.
    QString text;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const char16_t u = char16_t(data[i] | (data[i + 1] << 8));
        if (plainCharacter(u))
            text.append(QChar(u));
    }
    ReadRtf(QStringLiteral("{\\rtf1\\ansi\\uc1 ") + RtfEscape(text) + QStringLiteral("}"), doc);
    const QString back = doc.toRawText();
    if (back != text) {
        std::fprintf(stderr, "rtf: escaped text \"%s\" read back as \"%s\"\n",
                     text.toUtf8().constData(), back.toUtf8().constData());
        std::abort();
    }
    return 0;
}
