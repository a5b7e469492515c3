#pragma once

// The language at start-up and the fonts that Japanese and Chinese texts need.
//
// The faces the settings of earlier versions name ("MS Gothic", "MingLiU") are Windows fonts.
// Here a language is usable when an installed family can show its script: the stand-in that
// the canvas layer maps the Windows face to, else any family that QFontDatabase lists for the
// Japanese or the (traditional, then simplified) Chinese writing system.

#include <QString>

#include <cstdint>

// An installed face for Japanese texts; "" when there is none.
QString FindJapaneseFace();
// An installed face for Chinese texts; "" when there is none.
QString FindChineseFace();

struct TStartupLanguage {
  int Offset = 0;              // language offset in force (Language.h)
  std::int32_t Language = -1;  // the stored choice, 1033 after a fallback
  int MessageId = 0;           // a message to show (885 or 886), 0 for none
};

// Sets the language of the stored choice (-1: the system's) and falls back to English when
// its script has no installed face.
TStartupLanguage SetStartupLanguage(std::int32_t stored, bool hasJapaneseFace, bool hasChineseFace);
