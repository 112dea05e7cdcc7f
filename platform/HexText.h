#pragma once

#include <QString>
#include <cstdint>
#include <stdexcept>

// Raised when typed text is not a number; its message is what the user sees.
class EConvertError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Hexadecimal text: one or more hex digits of either case and nothing else (no
// blanks, sign or prefix). Leading zeros do not count; the value may not
// exceed FFFFFFFF. Returns false on anything else.
bool TryHexToUInt(const QString& text, std::uint32_t& value);

// As TryHexToUInt, but a failure raises EConvertError with the message
// "<text>" is not a valid hexadecimal value. (the text between double quotes).
std::uint32_t HexToUInt(const QString& text);

// Upper-case hex digits without prefix, zero-padded to at least minDigits.
QString UIntToHex(std::uint32_t value, int minDigits = 1);
