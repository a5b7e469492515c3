#include "RunTexts.h"

#include <QFile>

#include <cmath>

#include "Cp1252.h"
#include "Language.h"
#include "StringIds.h"

namespace {

QString FromCp1252(const std::string& bytes) {
  return QString::fromStdString(Cp1252ToUtf8(bytes));
}

QString FromSystem(const std::string& bytes) {
  return QFile::decodeName(QByteArray::fromStdString(bytes));
}

QString UnitSymbol(const TUnitTable& units, int kind) {
  for (const TUnit& unit : units) {
    if (unit.FKind == kind) return QString::fromStdString(unit.FSymbol);
  }
  return {};
}

QString ValueWithUnit(double value, int decimals, const QString& symbol) {
  const QString number =
      std::isfinite(value) ? QString::number(value, 'f', decimals) : QStringLiteral("-");
  return symbol.isEmpty() ? number : number + QLatin1Char(' ') + symbol;
}

}  // namespace

QString RunFileNameText(const TRunData& run) {
  return FromSystem(run.FFileName);
}

QString RunPathText(const TRunData& run) {
  return FromSystem(run.FPath);
}

QString RunTitleText(const TRunData& run) {
  return FromCp1252(run.FTitle);
}

QString RunTypeText(const TRunData& run) {
  return FromCp1252(run.FType);
}

QString RunDateText(const TRunData& run) {
  return QString::fromLocal8Bit(run.FDateText);
}

QString RunNotesText(const TRunData& run) {
  QString notes = FromCp1252(run.FNotes);
  notes.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return notes;
}

QString GearRatioText(const TRunData& run) {
  const TChannel* x = run.FXChannels.empty() ? nullptr : run.FXChannels.front();
  if (!x || !x->FGears) return QStringLiteral("N/A");
  const TGears& gears = *x->FGears;
  if (gears.FSelected < 0 || static_cast<size_t>(gears.FSelected) >= gears.FRatio.size())
    return QStringLiteral("N/A");
  const float ratio = gears.FRatio[static_cast<size_t>(gears.FSelected)];
  if (!std::isfinite(ratio) || ratio == 1.0f) return QStringLiteral("N/A");
  return QString::number(static_cast<double>(ratio), 'f', 2);
}

QString NotesPaneText(const TRunData& run) {
  return RunFileNameText(run) + QLatin1Char(' ') + QString::fromStdString(LangStr(kStrNotes)) +
         QStringLiteral(":\n") + RunNotesText(run);
}

TConditionTexts ConditionTexts(const TRunData& run, const TUnitTable& units) {
  TConditionTexts texts;
  texts.Temperature = ValueWithUnit(run.FTempDisplay, 1, UnitSymbol(units, ukTemperature));
  texts.Pressure = ValueWithUnit(run.FBaroDisplay, 2, UnitSymbol(units, ukPressure));
  texts.Vapor = ValueWithUnit(run.FVaporDisplay, 2, UnitSymbol(units, ukPressure));
  texts.Humidity = ValueWithUnit(run.FHumidityDisplay, 1, QStringLiteral("%"));
  texts.Altitude = ValueWithUnit(run.FAltitudeDisplay, 0, UnitSymbol(units, ukShortLength));
  return texts;
}
