#pragma once

// Fonts as the program describes them: a face name, a height in pixels (negative: the
// character height, i.e. the em size; positive: the cell height, internal leading included),
// styles, pitch, colour and an orientation for rotated text. Faces that Linux lacks (Verdana,
// MS Sans Serif, Courier New, MS Gothic, ...) are drawn with the nearest installed face.

#include "Color.h"

#include <QFont>
#include <QString>

#include <cstdint>

enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = std::uint8_t;

enum TFontPitch : std::uint8_t { fpDefault = 0, fpVariable = 1, fpFixed = 2 };

inline constexpr int kDefaultFontHeight = -11;  // 8 points at 96 pixels per inch
inline constexpr int kMaxFontPixels = 2048;     // taller fonts are drawn this tall

struct TFont {
  QString FName = QStringLiteral("MS Sans Serif");
  int FHeight = kDefaultFontHeight;  // pixels; see above. 0 means the default height
  TFontStyles FStyle = 0;
  TFontPitch FPitch = fpDefault;
  TColor FColor = clWindowText;
  int FOrientation = 0;  // text angle in tenths of a degree, counter-clockwise

  // The size in points at 96 pixels per inch (the character height's 3/4), and its setter.
  int Size() const;
  void SetSize(int points);
  bool Bold() const { return (FStyle & fsBold) != 0; }
  void SetStyle(TFontStyle style, bool on) {
    FStyle =
        on ? static_cast<TFontStyles>(FStyle | style) : static_cast<TFontStyles>(FStyle & ~style);
  }

  bool operator==(const TFont&) const = default;
};

// The Qt font that draws `font` (its face mapped, its height as a pixel size).
QFont ToQFont(const TFont& font);

// The installed face that stands in for `face`: the face itself when installed, else the
// first installed face of its kind (sans, serif, fixed, Japanese, Chinese).
QString MapFontFace(const QString& face);

// True when `face` or a stand-in of its own kind is installed (a Japanese face needs a
// Japanese stand-in, not just any font).
bool FontAvailable(const QString& face);
