// The one-line weather summary of a run that the conditions labels show.

#include <QFile>

#include "NumberFormat.h"
#include "RunFile.h"
#include "WPGraph.h"

QString TWPGraph::GetConditionsString(int run) const {
  const TRunData* r = run >= 0 ? FData->Run(static_cast<uint32_t>(run)) : nullptr;
  if (!r) return {};
  const auto symbol = [this](uint32_t kind) {
    const TUnit* unit = FData->Unit(kind);
    return unit ? unit->FSymbol : std::string();
  };
  // Only the MH formats record the humidity; an M301 file's value is not a measurement.
  std::string humidity;
  if (r->FSignature == kSignatureMH100 || r->FSignature == kSignatureMH703) {
    humidity = Format(" %s: %.0f%%,", {GetGraphString(20).toStdString(), r->FHumidityDisplay});
  }
  const std::string fileName =
      QFile::decodeName(QByteArray::fromStdString(r->FFileName)).toStdString();
  return QString::fromStdString(
      Format("%s: %f %s, %f %s,%s %s: %f",
             {fileName, r->FTempDisplay, symbol(ukTemperature), r->FBaroDisplay, symbol(ukPressure),
              humidity, GetGraphString(0).toStdString(), r->FCF}));
}
