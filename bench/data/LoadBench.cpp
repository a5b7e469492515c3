// Loading the largest run the viewer shows: an MH703 file whose channels have the full 16383
// points, with two rollers, engine speed and air/fuel. Target: under 5 ms per load.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "RunFile.h"
#include "RunSynth.h"

namespace {

constexpr std::size_t kMaxSamples = 65535;  // a record's sample count is 16 bits

// Pulses every `period` counts with a slow swing, so the speeds are not all equal.
std::vector<uint32_t> SwingingPulses(uint32_t period, uint32_t swing) {
  std::vector<uint64_t> counts(kMaxSamples);
  uint64_t count = 1000;
  for (std::size_t i = 0; i < kMaxSamples; ++i) {
    counts[i] = count;
    count += period + (i / 100 % 2 ? swing : 0);
  }
  return PulseWords(counts);
}

// 65535 drum pulses at about 200 per second span 327.7 s: 16383 points of 0.02 s.
TSynthRun MaximalRun() {
  TSynthRun run;
  run.FVariant = TSynthVariant::MH703;
  run.FTitle = "Longest run";
  run.FType = "DYN";
  run.FNotes = "Two rollers, engine speed and air/fuel over the whole time base.";
  for (int32_t serial : {1101, 1102}) {
    TSynthDrum drum;
    drum.FBlock.FSerial = serial;
    drum.FIntervals = SwingingPulses(4990, 20);
    run.FRecords.push_back(drum);
  }
  TSynthEngine engine;
  engine.FCrankAngle = 180;  // four intervals per engine cycle
  engine.FCycles = 2;
  engine.FIntervals = SwingingPulses(4990, 15);
  run.FRecords.push_back(engine);
  TSynthAnalog airFuel;
  airFuel.FSensorID = 260;
  airFuel.FRate = 50;
  for (std::size_t i = 0; i < 16384; ++i)
    airFuel.FSamples.push_back(static_cast<uint16_t>(1800 + i % 97));
  run.FRecords.push_back(airFuel);
  run.FRecords.push_back(ConditionRecord(256, 24));
  run.FRecords.push_back(ConditionRecord(257, 40));
  run.FRecords.push_back(ConditionRecord(258, 29.6));
  return run;
}

// The run written once into the temporary folder, removed at exit.
class TMaximalRunFile {
 public:
  TMaximalRunFile()
      : FPath(std::filesystem::temp_directory_path() /
              ("tracewell-bench-" + std::to_string(getpid()) + ".DRF")) {
    WriteRunFile(MaximalRun(), FPath);
  }
  ~TMaximalRunFile() {
    std::error_code ignored;
    std::filesystem::remove(FPath, ignored);
  }
  std::string Path() const { return FPath.string(); }
  std::size_t Size() const { return std::filesystem::file_size(FPath); }

 private:
  std::filesystem::path FPath;
};

void BM_LoadMaximalMH703(benchmark::State& state) {
  static const TMaximalRunFile file;
  const TUnitTable units;
  for (auto _ : state) {
    TRunData run;
    const uint16_t code = LoadFileData(file.Path(), run, units);
    benchmark::DoNotOptimize(run.FDrums.data());
    if (code != 0 || run.FNumPoints != 16383 || run.FDrums.size() != 2) {
      state.SkipWithError("the synthesized run did not load as a maximal run");
      break;
    }
  }
  state.counters["file_kB"] = static_cast<double>(file.Size()) / 1024;
}
BENCHMARK(BM_LoadMaximalMH703)->Unit(benchmark::kMillisecond);

}  // namespace
