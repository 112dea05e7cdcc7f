#include "HexText.h"

bool TryHexToUInt(const QString& text, std::uint32_t& value)
{
    if (text.isEmpty())
        return false;
    std::uint64_t v = 0;
    for (QChar ch : text) {
        const char16_t c = ch.unicode();
        int digit;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        else
            return false;
        v = (v << 4) | std::uint64_t(digit);
        if (v > 0xFFFFFFFFull)
            return false;
    }
    value = std::uint32_t(v);
    return true;
}

std::uint32_t HexToUInt(const QString& text)
{
    std::uint32_t v = 0;
    if (!TryHexToUInt(text, v))
        throw EConvertError(
            QStringLiteral("\"%1\" is not a valid hexadecimal value.").arg(text).toStdString());
    return v;
}

QString UIntToHex(std::uint32_t value, int minDigits)
{
    return QStringLiteral("%1").arg(value, minDigits, 16, QLatin1Char('0')).toUpper();
}
