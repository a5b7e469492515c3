#pragma once

// Colour values as the program stores them: 0x00BBGGRR for an RGB colour (red in the low
// byte), 0xFF0000nn for system colour nn, resolved from the application's palette when drawn.
// The colour text ("clLime", "$00C08000") is the one kept in the registry.

#include <QColor>
#include <QPalette>
#include <QString>

#include <cstdint>
#include <optional>

using TColor = std::uint32_t;

inline constexpr TColor kSystemColorFlag = 0xFF000000;

// System colours (flag plus the system colour index).
inline constexpr TColor clScrollBar = kSystemColorFlag | 0;
inline constexpr TColor clBackground = kSystemColorFlag | 1;
inline constexpr TColor clActiveCaption = kSystemColorFlag | 2;
inline constexpr TColor clInactiveCaption = kSystemColorFlag | 3;
inline constexpr TColor clMenu = kSystemColorFlag | 4;
inline constexpr TColor clWindow = kSystemColorFlag | 5;
inline constexpr TColor clWindowFrame = kSystemColorFlag | 6;
inline constexpr TColor clMenuText = kSystemColorFlag | 7;
inline constexpr TColor clWindowText = kSystemColorFlag | 8;
inline constexpr TColor clCaptionText = kSystemColorFlag | 9;
inline constexpr TColor clActiveBorder = kSystemColorFlag | 10;
inline constexpr TColor clInactiveBorder = kSystemColorFlag | 11;
inline constexpr TColor clAppWorkSpace = kSystemColorFlag | 12;
inline constexpr TColor clHighlight = kSystemColorFlag | 13;
inline constexpr TColor clHighlightText = kSystemColorFlag | 14;
inline constexpr TColor clBtnFace = kSystemColorFlag | 15;
inline constexpr TColor clBtnShadow = kSystemColorFlag | 16;
inline constexpr TColor clGrayText = kSystemColorFlag | 17;
inline constexpr TColor clBtnText = kSystemColorFlag | 18;
inline constexpr TColor clInactiveCaptionText = kSystemColorFlag | 19;
inline constexpr TColor clBtnHighlight = kSystemColorFlag | 20;
inline constexpr TColor cl3DDkShadow = kSystemColorFlag | 21;
inline constexpr TColor cl3DLight = kSystemColorFlag | 22;
inline constexpr TColor clInfoText = kSystemColorFlag | 23;
inline constexpr TColor clInfoBk = kSystemColorFlag | 24;

// Standard RGB colours.
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clMoneyGreen = 0xC0DCC0;
inline constexpr TColor clSkyBlue = 0xF0CAA6;
inline constexpr TColor clCream = 0xF0FBFF;
inline constexpr TColor clMedGray = 0xA4A0A0;
// No colour: drawn as nothing (transparent).
inline constexpr TColor clNone = 0x1FFFFFFF;

// The colour of red, green and blue bytes.
constexpr TColor RGBColor(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(TColor c) {
  return static_cast<int>(c & 0xFF);
}
constexpr int GetGValue(TColor c) {
  return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int GetBValue(TColor c) {
  return static_cast<int>((c >> 16) & 0xFF);
}
constexpr bool IsSystemColor(TColor c) {
  return (c & kSystemColorFlag) == kSystemColorFlag;
}

// The RGB value (0x00BBGGRR) of a colour: system colours from `palette`, the default being the
// application's; clNone gives white, as its low bytes say.
TColor ColorToRGB(TColor color);
TColor ColorToRGB(TColor color, const QPalette& palette);

// The colour to paint with; clNone and other values of an unknown kind are transparent.
QColor ToQColor(TColor color);
QColor ToQColor(TColor color, const QPalette& palette);
// The RGB colour value of a Qt colour (its alpha is dropped).
TColor FromQColor(const QColor& color);

// The colour text: the symbolic name ("clBtnFace") where the colour has one, else "$" and
// eight hexadecimal digits ("$00C08000").
QString ColorToString(TColor color);
// Reads a colour text: a symbolic name (any case), "$hex", "0xhex" or a decimal number in
// 32 bits; nothing for any other text.
std::optional<TColor> StringToColor(const QString& text);
