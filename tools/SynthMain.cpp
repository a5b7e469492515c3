// tracewell-synth: writes run files of any variant from a small physical model of a dyno pull.

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "PullModel.h"

namespace {

constexpr const char* kHelp = R"(Usage: tracewell-synth [options] OUTPUT
       tracewell-synth --samples DIR
       tracewell-synth --sample NAME OUTPUT

Writes a run file made from a simulated dyno pull: a lead-in at steady speed, a full-throttle
pull through the gears, a coast-down. The times, speeds and forces come from integrating the
engine torque through the gearing against the roller masses and losses.

Run:
  --variant m301|mh100|mh703   file variant (default mh703)
  --rollers 1|2                rollers, coupled at one surface speed (M301: 1)
  --gears R1[,R2...]           engine rpm per ft/s of roller surface, one per gear (default 40)
  --start-rpm N, --end-rpm N   the pull (default 2500 to 7000; also the shift point)
  --pull-time S                scale the roller masses so the full-throttle pull lasts about S s
  --lead-time S, --coast-time S, --shift-time S, --brake LBF
  --mass SLUGS, --added-mass SLUGS, --window N, --distance FT   every roller
  --efficiency F               engine to roller surface (default 0.85)
  --temp C, --humidity PCT, --baro INHG, --altitude FT
  --title TEXT, --type TEXT, --notes TEXT   ("\n" in the notes starts a new line)
  --no-air-fuel                no air/fuel series (MH variants)
  --crank-angle DEG, --cycles K, --tick S   MH engine pickup and timer
  --pulses-per-rev N           M301 engine pickup
  --seed N                     noise of the analog samples

Awkward cases:
  --timer-start COUNTS         timer at the start; near 16777216 (M301) or 4294967296 (MH) it wraps
  --spike T                    a spurious engine pulse at T seconds (repeatable)
  --bad-checksum               MH703 with a checksum that does not match
  --cut BYTES                  cut the file to BYTES bytes
  --cut-record R               cut the file in the middle of record R (0-based, MH)
  --unknown-record TYPE        append a bare record type byte (repeatable, MH)
  --other-records N            add N type-4 records (MH)
  --omit-param I, --garbage-param I          M301 parameter I (1..11)
  --omit-marker parameters|notes|run-data    M301 marker line
  --extra-bytes                M301 with the four extra bytes after the engine words

Samples:
  --samples DIR                write every bundled sample into DIR
  --sample NAME                write the bundled sample NAME to OUTPUT
  --list-samples               print the bundled sample names
)";

struct TOptions {
  TPullSpec FSpec;
  std::filesystem::path FOutput;
  std::optional<double> FPullTime;
  std::optional<double> FMass, FAddedMass, FDistance;
  std::optional<uint16_t> FWindow;
  int FRollers = 1;
  bool FBadChecksum = false;
  std::optional<std::size_t> FCut;
  std::optional<std::size_t> FCutRecord;
  std::vector<int> FOmitParams, FGarbageParams;
  std::vector<std::string> FOmitMarkers;
  bool FExtraBytes = false;
  std::optional<std::filesystem::path> FSamplesDir;
  std::optional<std::string> FSample;
  bool FListSamples = false;
};

double Number(const std::string& option, const std::string& text) {
  double v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v))
    throw std::invalid_argument(option + ": '" + text + "' is not a number");
  return v;
}

template <typename T>
T Whole(const std::string& option, const std::string& text, T low, T high) {
  T v{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || v < low || v > high)
    throw std::invalid_argument(option + ": '" + text + "' is not a whole number in " +
                                std::to_string(low) + ".." + std::to_string(high));
  return v;
}

std::vector<double> NumberList(const std::string& option, const std::string& text) {
  std::vector<double> values;
  std::size_t pos = 0;
  while (true) {
    const std::size_t comma = text.find(',', pos);
    values.push_back(Number(option, text.substr(pos, comma - pos)));
    if (comma == std::string::npos) break;
    pos = comma + 1;
  }
  return values;
}

std::string Lines(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
      out += "\r\n";
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

TOptions Parse(int argc, char** argv) {
  TOptions o;
  TPullSpec& s = o.FSpec;
  using TSetter = std::function<void(const std::string&, const std::string&)>;
  const std::map<std::string, TSetter> valued = {
      {"--variant",
       [&](auto& n, auto& v) {
         if (v == "m301")
           s.FVariant = TSynthVariant::M301;
         else if (v == "mh100")
           s.FVariant = TSynthVariant::MH100;
         else if (v == "mh703")
           s.FVariant = TSynthVariant::MH703;
         else
           throw std::invalid_argument(n + ": m301, mh100 or mh703");
       }},
      {"--rollers", [&](auto& n, auto& v) { o.FRollers = Whole<int>(n, v, 1, 2); }},
      {"--gears", [&](auto& n, auto& v) { s.FGearRatios = NumberList(n, v); }},
      {"--start-rpm", [&](auto& n, auto& v) { s.FStartRPM = Number(n, v); }},
      {"--end-rpm", [&](auto& n, auto& v) { s.FEndRPM = Number(n, v); }},
      {"--pull-time", [&](auto& n, auto& v) { o.FPullTime = Number(n, v); }},
      {"--lead-time", [&](auto& n, auto& v) { s.FLeadTime = Number(n, v); }},
      {"--coast-time", [&](auto& n, auto& v) { s.FCoastTime = Number(n, v); }},
      {"--shift-time", [&](auto& n, auto& v) { s.FShiftTime = Number(n, v); }},
      {"--brake", [&](auto& n, auto& v) { s.FCoastBrake = Number(n, v); }},
      {"--mass", [&](auto& n, auto& v) { o.FMass = Number(n, v); }},
      {"--added-mass", [&](auto& n, auto& v) { o.FAddedMass = Number(n, v); }},
      {"--window", [&](auto& n, auto& v) { o.FWindow = Whole<uint16_t>(n, v, 1, 65535); }},
      {"--distance", [&](auto& n, auto& v) { o.FDistance = Number(n, v); }},
      {"--efficiency", [&](auto& n, auto& v) { s.FEfficiency = Number(n, v); }},
      {"--temp", [&](auto& n, auto& v) { s.FWeather.FTempC = Number(n, v); }},
      {"--humidity", [&](auto& n, auto& v) { s.FWeather.FHumidity = Number(n, v); }},
      {"--baro", [&](auto& n, auto& v) { s.FWeather.FBaro = Number(n, v); }},
      {"--altitude",
       [&](auto& n, auto& v) { s.FWeather.FAltitude = Whole<int16_t>(n, v, -32768, 32767); }},
      {"--title", [&](auto&, auto& v) { s.FTitle = v; }},
      {"--type", [&](auto&, auto& v) { s.FType = v; }},
      {"--notes", [&](auto&, auto& v) { s.FNotes = Lines(v); }},
      {"--crank-angle", [&](auto& n, auto& v) { s.FCrankAngle = Whole<uint16_t>(n, v, 1, 65535); }},
      {"--cycles", [&](auto& n, auto& v) { s.FCycles = Whole<uint16_t>(n, v, 1, 65535); }},
      {"--tick", [&](auto& n, auto& v) { s.FTick = Number(n, v); }},
      {"--pulses-per-rev", [&](auto& n, auto& v) { s.FPulsesPerRev = Whole<int>(n, v, 1, 64); }},
      {"--seed", [&](auto& n, auto& v) { s.FSeed = Whole<uint32_t>(n, v, 0, 0xFFFFFFFFu); }},
      {"--timer-start",
       [&](auto& n, auto& v) { s.FTimerStart = Whole<uint64_t>(n, v, 0, 0xFFFFFFFFull); }},
      {"--spike", [&](auto& n, auto& v) { s.FEngineSpikes.push_back(Number(n, v)); }},
      {"--cut", [&](auto& n, auto& v) { o.FCut = Whole<std::size_t>(n, v, 0, SIZE_MAX); }},
      {"--cut-record",
       [&](auto& n, auto& v) { o.FCutRecord = Whole<std::size_t>(n, v, 0, 65535); }},
      {"--unknown-record",
       [&](auto& n, auto& v) { s.FUnknownRecords.push_back(Whole<uint8_t>(n, v, 0, 255)); }},
      {"--other-records", [&](auto& n, auto& v) { s.FOtherRecords = Whole<int>(n, v, 0, 1000); }},
      {"--omit-param", [&](auto& n, auto& v) { o.FOmitParams.push_back(Whole<int>(n, v, 1, 11)); }},
      {"--garbage-param",
       [&](auto& n, auto& v) { o.FGarbageParams.push_back(Whole<int>(n, v, 1, 11)); }},
      {"--omit-marker",
       [&](auto& n, auto& v) {
         if (v != "parameters" && v != "notes" && v != "run-data")
           throw std::invalid_argument(n + ": parameters, notes or run-data");
         o.FOmitMarkers.push_back(v);
       }},
      {"--samples", [&](auto&, auto& v) { o.FSamplesDir = v; }},
      {"--sample", [&](auto&, auto& v) { o.FSample = v; }},
  };
  const std::map<std::string, std::function<void()>> flags = {
      {"--no-air-fuel", [&] { s.FAirFuel.FPresent = false; }},
      {"--bad-checksum", [&] { o.FBadChecksum = true; }},
      {"--extra-bytes", [&] { o.FExtraBytes = true; }},
      {"--list-samples", [&] { o.FListSamples = true; }},
  };
  std::vector<std::string> positional;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (auto f = flags.find(arg); f != flags.end()) {
      f->second();
    } else if (auto v = valued.find(arg); v != valued.end()) {
      if (i + 1 >= argc) throw std::invalid_argument(arg + " needs a value");
      v->second(arg, argv[++i]);
    } else if (arg.size() > 1 && arg[0] == '-') {
      throw std::invalid_argument("unknown option " + arg + " (see --help)");
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() > 1) throw std::invalid_argument("one output file only");
  if (!positional.empty()) o.FOutput = positional.front();
  if (o.FOutput.empty() && !o.FSamplesDir && !o.FListSamples)
    throw std::invalid_argument("no output file (see --help)");
  return o;
}

TSynthRun MakeRun(TOptions& o) {
  TPullSpec& s = o.FSpec;
  TRollerSpec roller;
  if (o.FMass) roller.FMass = *o.FMass;
  if (o.FAddedMass) roller.FAddedMass = *o.FAddedMass;
  if (o.FWindow) roller.FWindow = *o.FWindow;
  if (o.FDistance) roller.FDistance = *o.FDistance;
  s.FRollers.assign(static_cast<std::size_t>(o.FRollers), roller);
  for (std::size_t i = 0; i < s.FRollers.size(); ++i)
    s.FRollers[i].FSerial = 40001 + static_cast<int32_t>(i);
  if (o.FPullTime) s = FitPullTime(s, *o.FPullTime);

  TSynthRun run = TPullModel(s).Run();
  run.FBadChecksum = o.FBadChecksum;
  for (int p : o.FOmitParams)
    run.FM301.FParamText[p - 1] = "";
  for (int p : o.FGarbageParams)
    run.FM301.FParamText[p - 1] = "x7?";
  for (const std::string& m : o.FOmitMarkers) {
    if (m == "parameters") run.FM301.FParametersMarker = false;
    if (m == "notes") run.FM301.FNotesMarker = false;
    if (m == "run-data") run.FM301.FRunDataMarker = false;
  }
  if (o.FExtraBytes) run.FM301.FExtra = std::array<uint8_t, 4>{0x11, 0x22, 0x33, 0x44};
  if (o.FCut) run.FTruncateAt = *o.FCut;
  if (o.FCutRecord) {
    TSynthLayout layout;
    const std::vector<uint8_t> whole = WriteRunBytes(run, &layout);
    if (*o.FCutRecord >= layout.FRecordOffsets.size())
      throw std::invalid_argument("--cut-record: the file has " +
                                  std::to_string(layout.FRecordOffsets.size()) + " records");
    const std::size_t start = layout.FRecordOffsets[*o.FCutRecord];
    const std::size_t end = *o.FCutRecord + 1 < layout.FRecordOffsets.size()
                                ? layout.FRecordOffsets[*o.FCutRecord + 1]
                                : whole.size();
    run.FTruncateAt = start + (end - start) / 2;
  }
  return run;
}

int Main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--help" || std::string(argv[i]) == "-h") {
      std::fputs(kHelp, stdout);
      return 0;
    }
  }
  TOptions o = Parse(argc, argv);
  if (o.FListSamples) {
    for (const auto& [name, spec] : SampleSpecs())
      std::printf("%s\n", name.c_str());
    return 0;
  }
  if (o.FSamplesDir) {
    std::filesystem::create_directories(*o.FSamplesDir);
    for (const auto& [name, spec] : SampleSpecs()) {
      WriteRunFile(TPullModel(spec).Run(), *o.FSamplesDir / name);
      std::printf("wrote %s\n", (*o.FSamplesDir / name).string().c_str());
    }
    return 0;
  }
  if (o.FSample) {
    for (const auto& [name, spec] : SampleSpecs()) {
      if (name == *o.FSample) {
        WriteRunFile(TPullModel(spec).Run(), o.FOutput);
        return 0;
      }
    }
    throw std::invalid_argument("no sample named " + *o.FSample + " (see --list-samples)");
  }
  WriteRunFile(MakeRun(o), o.FOutput);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Main(argc, argv);
  } catch (const std::invalid_argument& e) {
    std::fprintf(stderr, "tracewell-synth: %s\n", e.what());
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tracewell-synth: %s\n", e.what());
    return 1;
  }
}
