#include "Font.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QHash>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>

namespace {

// MulDiv of the class library: a × b / c rounded half away from zero, in 64 bits.
int MulDiv(std::int64_t a, std::int64_t b, std::int64_t c) {
  const double v = static_cast<double>(a) * static_cast<double>(b) / static_cast<double>(c);
  return static_cast<int>(std::clamp(std::round(v), -2147483648.0, 2147483647.0));
}

enum class TFaceKind { Sans, Serif, Fixed, Japanese, Chinese, Unknown };

struct TFaceFamily {
  TFaceKind Kind;
  std::initializer_list<const char*> Faces;     // Windows faces of this kind
  std::initializer_list<const char*> StandIns;  // installed faces to use, best first
};

// Verdana is wide; DejaVu Sans descends from a Verdana-like design and keeps text widths
// close. Arial-like faces take the metric-compatible Liberation faces first.
const TFaceFamily kFamilies[] = {
    {TFaceKind::Sans,
     {"Verdana", "Tahoma"},
     {"DejaVu Sans", "Liberation Sans", "Noto Sans", "FreeSans"}},
    {TFaceKind::Sans,
     {"MS Sans Serif", "Microsoft Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2", "Arial",
      "Segoe UI", "Helvetica", "Small Fonts", "System"},
     {"Liberation Sans", "DejaVu Sans", "Noto Sans", "FreeSans"}},
    {TFaceKind::Serif,
     {"Times New Roman", "Times", "Georgia", "MS Serif"},
     {"Liberation Serif", "DejaVu Serif", "Noto Serif", "FreeSerif"}},
    {TFaceKind::Fixed,
     {"Courier New", "Courier", "Lucida Console", "Consolas", "Fixedsys", "Terminal"},
     {"Liberation Mono", "DejaVu Sans Mono", "Noto Sans Mono", "FreeMono"}},
    {TFaceKind::Japanese,
     {"MS Gothic", "MS PGothic", "MS UI Gothic", "MS Mincho", "MS PMincho", "Meiryo"},
     {"Noto Sans CJK JP", "Noto Sans JP", "IPAGothic", "IPAPGothic", "TakaoGothic", "VL Gothic"}},
    {TFaceKind::Chinese,
     {"SimSun", "NSimSun", "SimHei", "MS Song", "Microsoft YaHei", "MingLiU", "PMingLiU"},
     {"Noto Sans CJK SC", "Noto Sans SC", "WenQuanYi Zen Hei", "WenQuanYi Micro Hei",
      "AR PL UMing CN", "Noto Sans CJK TC"}},
};

const TFaceFamily* FamilyOf(const QString& face) {
  for (const TFaceFamily& family : kFamilies) {
    for (const char* name : family.Faces) {
      if (face.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) return &family;
    }
  }
  return nullptr;
}

QString FirstInstalled(std::initializer_list<const char*> faces) {
  for (const char* name : faces) {
    if (QFontDatabase::hasFamily(QLatin1String(name))) return QLatin1String(name);
  }
  return {};
}

}  // namespace

int TFont::Size() const {
  return -MulDiv(FHeight, 72, 96);
}

void TFont::SetSize(int points) {
  FHeight = -MulDiv(points, 96, 72);
}

QString MapFontFace(const QString& face) {
  static QHash<QString, QString> cache;
  if (const auto found = cache.constFind(face); found != cache.constEnd()) return *found;

  QString mapped;
  if (!face.isEmpty() && QFontDatabase::hasFamily(face)) {
    mapped = face;
  } else if (const TFaceFamily* family = FamilyOf(face)) {
    mapped = FirstInstalled(family->StandIns);
  }
  // An unknown face, or a known one without an installed stand-in: the nearest plain face,
  // then whatever the system substitutes for the name.
  if (mapped.isEmpty()) mapped = FirstInstalled(kFamilies[1].StandIns);
  if (mapped.isEmpty()) mapped = face;
  cache.insert(face, mapped);
  return mapped;
}

bool FontAvailable(const QString& face) {
  if (!face.isEmpty() && QFontDatabase::hasFamily(face)) return true;
  const TFaceFamily* family = FamilyOf(face);
  return family && !FirstInstalled(family->StandIns).isEmpty();
}

QFont ToQFont(const TFont& font) {
  QFont q(MapFontFace(font.FName));
  switch (font.FPitch) {
    case fpFixed:
      q.setFixedPitch(true);
      q.setStyleHint(QFont::Monospace);
      break;
    case fpVariable:
      q.setFixedPitch(false);
      break;
    default:
      break;
  }
  q.setBold((font.FStyle & fsBold) != 0);
  q.setItalic((font.FStyle & fsItalic) != 0);
  q.setUnderline((font.FStyle & fsUnderline) != 0);
  q.setStrikeOut((font.FStyle & fsStrikeOut) != 0);
  q.setKerning(false);  // widths add up glyph by glyph, as the measured layouts expect

  const std::int64_t height = font.FHeight == 0 ? kDefaultFontHeight : font.FHeight;
  std::int64_t pixels = 0;
  if (height < 0) {
    pixels = -height;
  } else {
    // A cell height: scale from the cell of a reference size, since the leading varies by face.
    constexpr int kReference = 100;
    q.setPixelSize(kReference);
    const int cell = std::max(1, QFontMetrics(q).height());
    pixels = static_cast<std::int64_t>(
        std::llround(static_cast<double>(std::min<std::int64_t>(height, kMaxFontPixels * 4)) *
                     kReference / cell));
  }
  q.setPixelSize(static_cast<int>(std::clamp<std::int64_t>(pixels, 1, kMaxFontPixels)));
  return q;
}
