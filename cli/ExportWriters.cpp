#include "ExportWriters.h"

#include <vector>

#include "Cp1252.h"
#include "CsvWriter.h"
#include "Language.h"
#include "NumberText.h"

namespace {

const char* RoleName(TColumnRole role) {
  switch (role) {
    case TColumnRole::Time:
      return "time";
    case TColumnRole::X:
      return "x";
    case TColumnRole::Y:
      return "y";
  }
  return "y";
}

float Cell(const TExportColumn& column, uint32_t row) {
  return row < column.FValues.size() ? column.FValues[row] : kNoValue;
}

}  // namespace

void WriteCsvTable(std::ostream& out, const TExportTable& table, const std::string& blockName) {
  if (!blockName.empty()) {
    const std::string name[] = {blockName};
    WriteCsvRow(out, name);
  }
  std::vector<std::string> fields;
  for (const TExportColumn& column : table.FColumns)
    fields.push_back(column.FTitle);
  WriteCsvRow(out, fields);
  for (uint32_t row = table.FFirstRow; row < table.FEndRow; ++row) {
    for (size_t c = 0; c < table.FColumns.size(); ++c)
      fields[c] = FloatText(Cell(table.FColumns[c], row));
    WriteCsvRow(out, fields);
  }
}

void WriteJsonTable(TJsonWriter& json, const TGphData& data, const TRunData& run,
                    const TExportTable& table, int gear) {
  json.BeginObject();
  json.Member("file", run.FFileName);
  json.Member("path", run.FPath);
  json.Member("title", Cp1252ToUtf8(run.FTitle));
  json.Member("dt", run.FDT);
  json.Member("points", run.FNumPoints);
  json.Member("first_point", table.FFirstRow);
  json.Member("correction", CFString(data.FCFIndex, 1));
  json.Member("correction_factor", run.FCF);
  json.Member("corrected", (run.FFlags & kFlagCorrected) != 0);
  json.Member("smoothing", data.FSmoothing);
  json.Key("gear");
  if (gear > 0)
    json.Integer(gear);
  else
    json.Null();

  json.Key("columns");
  json.BeginArray();
  for (const TExportColumn& column : table.FColumns) {
    json.BeginObject();
    json.Member("role", RoleName(column.FRole));
    json.Member("id", column.FID);
    json.Member("name", column.FName);
    json.Member("title", column.FTitle);
    json.Member("unit", column.FUnit);
    if (column.FSlot >= 0) json.Member("slot", column.FSlot);
    json.Member("has_values", !column.FValues.empty());
    json.EndObject();
  }
  json.EndArray();

  json.Key("gears");
  json.BeginArray();
  for (const TExportGears& gears : table.FGears) {
    json.BeginObject();
    json.Member("x_id", gears.FXID);
    json.Member("selected", gears.FSelected + 1);
    json.Key("segments");
    json.BeginArray();
    for (size_t s = 0; s < gears.FRatio.size(); ++s) {
      json.BeginObject();
      json.Member("ratio", gears.FRatio[s]);
      json.Member("start", gears.FStart[s]);
      json.Member("end", gears.FEnd[s]);
      json.EndObject();
    }
    json.EndArray();
    json.EndObject();
  }
  json.EndArray();

  json.Key("rows");
  json.BeginArray();
  for (uint32_t row = table.FFirstRow; row < table.FEndRow; ++row) {
    json.BeginArray(true);
    for (const TExportColumn& column : table.FColumns)
      json.Float(Cell(column, row));
    json.EndArray();
  }
  json.EndArray();
  json.EndObject();
}
