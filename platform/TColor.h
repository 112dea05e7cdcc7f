#pragma once

#include <QColor>
#include <cstdint>

// A colour as the components store it: red in the low byte, then green, then
// blue. A value with bit 31 set names a system colour instead.
using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGray = 0x808080;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clWindow = 0x80000005;
constexpr TColor clWindowText = 0x80000008;
constexpr TColor clBtnFace = 0x8000000F;

constexpr bool IsSystemColor(TColor c) { return (c & 0x80000000u) != 0; }

constexpr TColor RGBToColor(int r, int g, int b)
{
    return TColor(r & 0xFF) | (TColor(g & 0xFF) << 8) | (TColor(b & 0xFF) << 16);
}

// The system colours resolve through the application palette, so they follow
// the desktop's theme the way the platform's own controls do.
QColor ColorToQColor(TColor c);
