#include "RunInfo.h"

#include <cmath>
#include <cstdio>

#include "CorrectionFactor.h"
#include "Cp1252.h"
#include "DateText.h"
#include "Language.h"
#include "RunSettings.h"

namespace {

// The symbol of the selected unit of a kind, or the base unit's when the table has none.
std::string SymbolOr(const TGphData& data, int32_t kind, const char* base) {
  const TUnit* unit = data.Unit(static_cast<uint32_t>(kind));
  return unit ? unit->FSymbol : base;
}

std::string ChecksumState(const TRunData& run) {
  if (run.FFlags & kFlagChecksumMismatch) return "mismatch";
  return VariantName(run) == "MH703" ? "ok" : "none";
}

std::string ChannelTitleText(const TGphData& data, uint32_t id) {
  for (size_t k = 0; k < data.FChannelIDs.size() && k < data.FChannelTitles.size(); ++k)
    if (static_cast<uint32_t>(data.FChannelIDs[k]) == id) return data.FChannelTitles[k];
  return {};
}

// A text for a terminal: control characters (C0, DEL, C1) become '?', so that bytes in a run
// file cannot move the cursor or change the terminal's state.
std::string Printable(std::string_view utf8) {
  std::string out;
  for (size_t i = 0; i < utf8.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    const bool c1 = c == 0xC2 && i + 1 < utf8.size() &&
                    static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                    static_cast<unsigned char>(utf8[i + 1]) <= 0x9F;
    if (c < 0x20 || c == 0x7F || c1) {
      out += '?';
      if (c1) ++i;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

// The lines of a CR LF text (a lone CR or LF also ends a line).
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  return lines;
}

// Numbers for a person, to 6 significant digits; the JSON report has them in full.
std::string Number(double value) {
  if (std::isnan(value)) return "nan";
  if (!std::isfinite(value)) return "none";
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", value);
  return text;
}

std::string Rating(float value, const char* unit) {
  return std::isfinite(value) ? Number(value) + " " + unit : "none";
}

// Pads a text to `width` columns, counting UTF-8 characters.
std::string Padded(std::string text, size_t width) {
  size_t columns = 0;
  for (const char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++columns;
  text.append(columns < width ? width - columns : 1, ' ');
  return text;
}

constexpr size_t kLabelWidth = 16;

void Field(std::ostream& out, std::string_view label, const std::string& value) {
  out << Padded(std::string(label), kLabelWidth) << value << '\n';
}

void Dates(TJsonWriter& json, const TRunData& run) {
  json.Key("dates");
  json.BeginObject();
  const std::pair<const char*, double> dates[] = {
      {"modified", run.FModified}, {"created", run.FCreated}, {"accessed", run.FAccessed}};
  for (const auto& [name, days] : dates) {
    const std::string text = DayCountText(days);
    json.Key(name);
    if (text.empty())
      json.Null();
    else
      json.String(text);
  }
  json.Member("date_text", run.FDateText);
  json.EndObject();
}

}  // namespace

void GatherRunInfo(TRunInfo& info, TRunData& run) {
  const TGphData& data = *info.FData;
  info.FConditions = {
      {"pressure", "Pressure", run.FBaro, "inHg", run.FBaroDisplay,
       SymbolOr(data, ukPressure, "inHg")},
      {"vapour_pressure", "Vapour press.", run.FVapor, "inHg", run.FVaporDisplay,
       SymbolOr(data, ukPressure, "inHg")},
      {"temperature", "Temperature", run.FTemp,
       "\xC2\xB0"
       "C",
       run.FTempDisplay,
       SymbolOr(data, ukTemperature,
                "\xC2\xB0"
                "C")},
      {"humidity", "Humidity", run.FHumidity, "%", run.FHumidityDisplay, "%"},
      {"altitude", "Altitude", static_cast<double>(run.FAltitude), "ft",
       static_cast<double>(run.FAltitudeDisplay), SymbolOr(data, ukShortLength, "ft")},
  };
  info.FCorrections.clear();
  for (const TCorrectionFactor& cf : data.FCFs) {
    TCorrectionInfo entry;
    entry.FIndex = cf.FIndex;
    entry.FName = CFString(cf.FIndex, 1);
    entry.FDescription = CFString(cf.FIndex, 0);
    entry.FFactor = ComputeCF(data.FCFs, cf.FIndex, run);
    entry.FApplied = (run.FFlags & kFlagCorrected) != 0;
    info.FCorrections.push_back(entry);
  }
}

void WriteRunInfoText(std::ostream& out, const TRunInfo& info) {
  const TRunData& run = *info.FRun;
  const TGphData& data = *info.FData;
  Field(out, "File", Printable(run.FFileName));
  Field(out, "Path", Printable(info.FPath));
  Field(out, "Variant", VariantName(run));
  const std::string warnings = JoinWords(LoadWarningWords(info.FLoadCode));
  Field(out, "Load code",
        std::to_string(info.FLoadCode) + (warnings.empty() ? " (ok)" : " (" + warnings + ")"));
  Field(out, "Checksum", ChecksumState(run));
  Field(out, "Title", Printable(Cp1252ToUtf8(run.FTitle)));
  Field(out, "Type", Printable(Cp1252ToUtf8(run.FType)));
  const std::string notes = Cp1252ToUtf8(run.FNotes);
  bool firstLine = true;
  for (const std::string_view line : Lines(notes)) {
    Field(out, firstLine ? "Notes" : "", Printable(line));
    firstLine = false;
  }
  Field(out, "Modified", DayCountText(run.FModified));
  Field(out, "Created", DayCountText(run.FCreated));
  Field(out, "Accessed", DayCountText(run.FAccessed));

  out << '\n' << Padded("Conditions", kLabelWidth) << Padded("recorded", 20) << "shown\n";
  for (const TConditionInfo& c : info.FConditions)
    Field(out, "  " + c.FLabel,
          Padded(Number(c.FValue) + " " + c.FUnit, 20) + Number(c.FDisplay) + " " + c.FDisplayUnit);

  for (size_t d = 0; d < run.FDrums.size(); ++d) {
    const TDrumData& drum = *run.FDrums[d];
    out << '\n';
    Field(out, "Drum " + std::to_string(d + 1), Printable(Cp1252ToUtf8(drum.FName)));
    Field(out, "  Samples", std::to_string(drum.Count()) + ", tick " + Number(drum.FTick) + " s");
    Field(out, "  Mass",
          Number(drum.FMass) + " slugs, added " + Number(drum.FAddedMass) + " slugs");
    Field(out, "  Distance",
          Number(drum.FDistance) + " ft per window of " + std::to_string(drum.FWindow) +
              " intervals");
    Field(out, "  Losses",
          "c2 " + Number(drum.FLoss[0]) + ", c1 " + Number(drum.FLoss[1]) + ", c0 " +
              Number(drum.FLoss[2]) + " (lbf, v in ft/s)");
    Field(
        out, "  Rated",
        "power " + Rating(drum.FMaxPower, "hp") + ", torque " + Rating(drum.FMaxTorque, "ft-lbs"));
  }

  out << '\n';
  for (size_t r = 0; r < run.FRPMs.size(); ++r)
    Field(out, r == 0 ? "Engine speed" : "",
          std::to_string(r + 1) + ": " + std::to_string(run.FRPMs[r]->Count()) + " samples");
  for (size_t a = 0; a < run.FInts.size(); ++a)
    Field(out, a == 0 ? "Analog" : "",
          std::to_string(a + 1) + ": sensor " + std::to_string(run.FInts[a]->FSensorID) + ", " +
              std::to_string(run.FInts[a]->Count()) + " samples");
  Field(out, "Time base", Number(run.FDT) + " s x " + std::to_string(run.FNumPoints) + " points");

  out << '\n' << Padded("Channels", kLabelWidth) << Padded("id", 10) << "name\n";
  for (const auto& channel : run.FChannels)
    Field(
        out, "",
        Padded(std::to_string(channel->FID), 10) + Printable(ChannelTitleText(data, channel->FID)));

  out << '\n' << Padded("Correction", kLabelWidth) << "factor\n";
  for (const TCorrectionInfo& cf : info.FCorrections)
    Field(out, "  " + cf.FName,
          Padded(Number(cf.FFactor), 12) +
              (cf.FApplied ? cf.FDescription : "not applied (no usable pressure)"));
}

void WriteRunInfoJson(TJsonWriter& json, const TRunInfo& info) {
  const TRunData& run = *info.FRun;
  const TGphData& data = *info.FData;
  json.BeginObject();
  json.Member("file", run.FFileName);
  json.Member("path", info.FPath);
  json.Member("ok", true);
  json.Member("load_code", info.FLoadCode);
  json.Key("warnings");
  json.BeginArray(true);
  for (const std::string& warning : LoadWarningWords(info.FLoadCode))
    json.String(warning);
  json.EndArray();
  json.Member("variant", VariantName(run));
  json.Member("checksum", ChecksumState(run));
  json.Member("title", Cp1252ToUtf8(run.FTitle));
  json.Member("type", Cp1252ToUtf8(run.FType));
  json.Member("notes", Cp1252ToUtf8(run.FNotes));
  Dates(json, run);

  json.Key("conditions");
  json.BeginObject();
  for (const TConditionInfo& c : info.FConditions) {
    json.Key(c.FKey);
    json.BeginObject();
    json.Member("value", c.FValue);
    json.Member("unit", c.FUnit);
    json.Member("display", c.FDisplay);
    json.Member("display_unit", c.FDisplayUnit);
    json.EndObject();
  }
  json.EndObject();

  json.Key("drums");
  json.BeginArray();
  for (const auto& drum : run.FDrums) {
    json.BeginObject();
    json.Member("name", Cp1252ToUtf8(drum->FName));
    json.Member("samples", drum->Count());
    json.Member("tick", drum->FTick);
    json.Member("mass", drum->FMass);
    json.Member("added_mass", drum->FAddedMass);
    json.Member("distance", drum->FDistance);
    json.Member("window", drum->FWindow);
    json.Key("loss");
    json.BeginArray(true);
    for (const double c : drum->FLoss)
      json.Double(c);
    json.EndArray();
    json.Member("max_power", drum->FMaxPower);  // null: no rating
    json.Member("max_torque", drum->FMaxTorque);
    json.EndObject();
  }
  json.EndArray();

  json.Key("engine_speed_series");
  json.BeginArray();
  for (const auto& series : run.FRPMs) {
    json.BeginObject();
    json.Member("samples", series->Count());
    json.Member("tick", series->FTick);
    json.Member("pulse_divisor", series->FPulseDivisor);
    json.EndObject();
  }
  json.EndArray();
  json.Key("analog_series");
  json.BeginArray();
  for (const auto& series : run.FInts) {
    json.BeginObject();
    json.Member("sensor_id", series->FSensorID);
    json.Member("samples", series->Count());
    json.EndObject();
  }
  json.EndArray();
  json.Member("float_series", static_cast<uint32_t>(run.FFloats.size()));

  json.Member("dt", run.FDT);
  json.Member("points", run.FNumPoints);
  json.Key("channels");
  json.BeginArray();
  for (const auto& channel : run.FChannels) {
    json.BeginObject();
    json.Member("id", channel->FID);
    json.Member("type", ChannelType(channel->FID));
    json.Member("ordinal", ChannelOrdinal(channel->FID));
    json.Member("name", channel->FName);
    json.Member("title", ChannelTitleText(data, channel->FID));
    json.Member("unit_kind", channel->FUnitKind);
    json.EndObject();
  }
  json.EndArray();

  json.Key("correction_factors");
  json.BeginArray();
  for (const TCorrectionInfo& cf : info.FCorrections) {
    json.BeginObject();
    json.Member("index", cf.FIndex);
    json.Member("name", cf.FName);
    json.Member("description", cf.FDescription);
    json.Member("factor", cf.FFactor);
    json.Member("applied", cf.FApplied);
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
}
