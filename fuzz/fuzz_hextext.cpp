// Hexadecimal text: TryHexToUInt against an independent reading of the rule
// (one or more ASCII hex digits, nothing else, value at most FFFFFFFF),
// HexToUInt raising exactly when that fails and with the user's message, and
// UIntToHex giving text that reads back as the same value.

#include "HexText.h"

#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

[[noreturn]] void finding(const char* what, const QString& text)
{
    std::fprintf(stderr, "hextext: %s for \"%s\"\n", what, text.toUtf8().constData());
    std::abort();
}

bool isHexDigit(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// The rule, read independently of the code under test.
bool reference(const QString& text, std::uint32_t& value)
{
    if (text.isEmpty())
        return false;
    std::string digits;
    for (QChar ch : text) {
        if (!isHexDigit(ch.unicode()))
            return false;
        if (digits.empty() && ch == u'0')
            continue; // leading zeros do not count
        digits += char(ch.unicode());
    }
    if (digits.size() > 8)
        return false;
    value = digits.empty() ? 0 : std::uint32_t(std::strtoul(digits.c_str(), nullptr, 16));
    return true;
}

void checkFormat(std::uint32_t value, int minDigits)
{
    const QString text = UIntToHex(value, minDigits);
    int natural = 1;
    for (std::uint32_t v = value; v > 0xF; v >>= 4)
        ++natural;
    if (text.size() != std::max(natural, minDigits))
        finding("UIntToHex gave the wrong number of digits", text);
    for (QChar ch : text)
        if (!isHexDigit(ch.unicode()) || (ch >= u'a' && ch <= u'f'))
            finding("UIntToHex gave a character other than 0-9, A-F", text);
    std::uint32_t back = 0;
    if (!TryHexToUInt(text, back) || back != value)
        finding("UIntToHex text does not read back as its value", text);
}

void check(const QString& text)
{
    std::uint32_t expected = 0, value = 0;
    const bool valid = reference(text, expected);
    const bool ok = TryHexToUInt(text, value);
    if (ok != valid)
        finding(valid ? "valid text refused" : "invalid text accepted", text);
    if (ok && value != expected)
        finding("wrong value", text);

    bool raised = false;
    try {
        const std::uint32_t v = HexToUInt(text);
        if (ok && v != value)
            finding("HexToUInt and TryHexToUInt disagree", text);
    } catch (const EConvertError& e) {
        raised = true;
        const std::string message =
            (QStringLiteral("\"") + text + QStringLiteral("\" is not a valid hexadecimal value."))
                .toStdString();
        // what() is a C string: the message ends at an embedded NUL.
        if (std::strcmp(message.c_str(), e.what()) != 0)
            finding("wrong conversion error message", text);
    }
    if (raised == ok)
        finding(ok ? "HexToUInt raised on valid text" : "HexToUInt accepted invalid text", text);

    if (ok)
        for (int minDigits : {0, 1, 3, 8, 9, 12})
            checkFormat(value, minDigits);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const char* bytes = reinterpret_cast<const char*>(data);
    check(QString::fromLatin1(bytes, qsizetype(size)));
    check(QString::fromUtf8(bytes, qsizetype(size)));
    // The bytes as UTF-16 code units: every QChar value, lone surrogates too.
    std::u16string units(size / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = char16_t(data[2 * i] | (data[2 * i + 1] << 8));
    check(QString::fromUtf16(units.data(), qsizetype(units.size())));
    // Any 32-bit value formats and reads back.
    if (size >= 4) {
        const std::uint32_t value = std::uint32_t(data[0]) | std::uint32_t(data[1]) << 8 |
                                    std::uint32_t(data[2]) << 16 | std::uint32_t(data[3]) << 24;
        checkFormat(value, size > 4 ? data[4] % 13 : 1);
    }
    return 0;
}
