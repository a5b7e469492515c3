#include "Color.h"

#include <QGuiApplication>

namespace {

inline constexpr TColor clDefault = 0x20000000;

struct TColorName {
  TColor Color;
  const char* Name;
};

// Symbolic names of the colour text, in the class library's spelling.
constexpr TColorName kColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {kSystemColorFlag | 26, "clHotLight"},
    {kSystemColorFlag | 27, "clGradientActiveCaption"},
    {kSystemColorFlag | 28, "clGradientInactiveCaption"},
    {kSystemColorFlag | 29, "clMenuHighlight"},
    {kSystemColorFlag | 30, "clMenuBar"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
};

// Where each system colour comes from in a Qt palette; an index without one reads black.
struct TSystemRole {
  QPalette::ColorGroup Group;
  QPalette::ColorRole Role;
};

TSystemRole SystemRole(unsigned index, bool& known) {
  known = true;
  switch (index) {
    case 0:
      return {QPalette::Active, QPalette::Button};  // scroll bar
    case 1:
      return {QPalette::Active, QPalette::Dark};  // desktop
    case 2:
      return {QPalette::Active, QPalette::Highlight};  // active caption
    case 3:
      return {QPalette::Active, QPalette::Mid};  // inactive caption
    case 4:
      return {QPalette::Active, QPalette::Window};  // menu
    case 5:
      return {QPalette::Active, QPalette::Base};  // window
    case 6:
      return {QPalette::Active, QPalette::WindowText};  // window frame
    case 7:
      return {QPalette::Active, QPalette::WindowText};  // menu text
    case 8:
      return {QPalette::Active, QPalette::Text};  // window text
    case 9:
      return {QPalette::Active, QPalette::HighlightedText};  // caption text
    case 10:
      return {QPalette::Active, QPalette::Button};  // active border
    case 11:
      return {QPalette::Active, QPalette::Button};  // inactive border
    case 12:
      return {QPalette::Active, QPalette::Mid};  // application workspace
    case 13:
      return {QPalette::Active, QPalette::Highlight};  // highlight
    case 14:
      return {QPalette::Active, QPalette::HighlightedText};  // highlight text
    case 15:
      return {QPalette::Active, QPalette::Button};  // button face
    case 16:
      return {QPalette::Active, QPalette::Dark};  // button shadow
    case 17:
      return {QPalette::Disabled, QPalette::Text};  // grey text
    case 18:
      return {QPalette::Active, QPalette::ButtonText};  // button text
    case 19:
      return {QPalette::Inactive, QPalette::WindowText};  // inactive caption text
    case 20:
      return {QPalette::Active, QPalette::Light};  // button highlight
    case 21:
      return {QPalette::Active, QPalette::Shadow};  // 3-D dark shadow
    case 22:
      return {QPalette::Active, QPalette::Midlight};  // 3-D light
    case 23:
      return {QPalette::Active, QPalette::ToolTipText};  // tool tip text
    case 24:
      return {QPalette::Active, QPalette::ToolTipBase};  // tool tip
    case 26:
      return {QPalette::Active, QPalette::Link};  // hot-tracked item
    case 27:
      return {QPalette::Active, QPalette::Highlight};  // caption gradient
    case 28:
      return {QPalette::Active, QPalette::Mid};  // inactive caption gradient
    case 29:
      return {QPalette::Active, QPalette::Highlight};  // menu highlight
    case 30:
      return {QPalette::Active, QPalette::Window};  // menu bar
    default:
      known = false;
      return {QPalette::Active, QPalette::Window};
  }
}

QPalette ApplicationPalette() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::palette()
                                                                      : QPalette();
}

}  // namespace

TColor FromQColor(const QColor& color) {
  const QColor rgb = color.toRgb();
  return RGBColor(rgb.red(), rgb.green(), rgb.blue());
}

TColor ColorToRGB(TColor color, const QPalette& palette) {
  if (!IsSystemColor(color)) return color & 0x00FFFFFF;
  bool known = false;
  const TSystemRole role = SystemRole(color & 0xFF, known);
  return known ? FromQColor(palette.color(role.Group, role.Role)) : clBlack;
}

TColor ColorToRGB(TColor color) {
  return ColorToRGB(color, ApplicationPalette());
}

QColor ToQColor(TColor color, const QPalette& palette) {
  if ((color & 0xFF000000) != 0 && !IsSystemColor(color)) return QColor(Qt::transparent);
  const TColor rgb = ColorToRGB(color, palette);
  return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

QColor ToQColor(TColor color) {
  if (!IsSystemColor(color)) return ToQColor(color, QPalette());
  return ToQColor(color, ApplicationPalette());
}

QString ColorToString(TColor color) {
  for (const TColorName& entry : kColorNames) {
    if (entry.Color == color) return QString::fromLatin1(entry.Name);
  }
  return QStringLiteral("$%1").arg(color, 8, 16, QLatin1Char('0')).toUpper();
}

std::optional<TColor> StringToColor(const QString& text) {
  const QString t = text.trimmed();
  for (const TColorName& entry : kColorNames) {
    if (t.compare(QLatin1String(entry.Name), Qt::CaseInsensitive) == 0) return entry.Color;
  }
  // A hexadecimal number has no sign of its own.
  const auto hex = [](const QString& digits, bool& ok) {
    ok = !digits.isEmpty() && digits.front().isLetterOrNumber();
    return ok ? digits.toLongLong(&ok, 16) : 0;
  };
  bool ok = false;
  qint64 value = 0;
  if (t.startsWith(QLatin1Char('$'))) {
    value = hex(t.mid(1), ok);
  } else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
    value = hex(t.mid(2), ok);
  } else {
    value = t.toLongLong(&ok, 10);
  }
  if (!ok || value < INT32_MIN || value > UINT32_MAX) return std::nullopt;
  return static_cast<TColor>(static_cast<std::uint64_t>(value) & 0xFFFFFFFF);
}
