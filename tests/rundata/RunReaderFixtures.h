#pragma once

// Small run files for the reader's tests, built with the synthesizer's raw layer.

#include <cstdint>
#include <string>
#include <vector>

#include "RunFile.h"
#include "RunFileBytes.h"
#include "RunSynth.h"

namespace reader_test {

// Loads synthesized bytes the way LoadFileData does once it has read the file.
inline uint16_t Load(const std::vector<uint8_t>& bytes, TRunData& run,
                     const TComputationOptions& options = {}) {
  return LoadRunBytes(bytes, "/runs/pull.DRF", run, TUnitTable{}, options);
}
inline uint16_t Load(const TSynthRun& spec, TRunData& run,
                     const TComputationOptions& options = {}) {
  return Load(WriteRunBytes(spec), run, options);
}
inline uint16_t Header(const TSynthRun& spec, TRunData& run) {
  return ParseRunHeader(WriteRunBytes(spec), "/runs/pull.DRF", run);
}

// Pulses every `period` timer counts from `first` on: the interval words of an MH record.
inline std::vector<uint32_t> EvenPulses(std::size_t count, uint64_t period, uint64_t first = 1000) {
  std::vector<uint64_t> counts(count);
  for (std::size_t i = 0; i < count; ++i)
    counts[i] = first + i * period;
  return PulseWords(counts);
}

// An MH run holding the given records.
inline TSynthRun MHRun(std::vector<TSynthRecord> records,
                       TSynthVariant variant = TSynthVariant::MH703) {
  TSynthRun run;
  run.FVariant = variant;
  run.FRecords = std::move(records);
  return run;
}

// A drum record of `count` pulses, one every `period` microseconds.
inline TSynthDrum EvenDrum(std::size_t count, uint64_t period) {
  TSynthDrum drum;
  drum.FIntervals = EvenPulses(count, period);
  return drum;
}

// An M301 run with `count` drum words, one every `period` microseconds from `first` on.
inline TSynthRun M301Run(std::size_t count, uint32_t period = 5000, uint32_t first = 1000) {
  TSynthRun run;
  run.FVariant = TSynthVariant::M301;
  run.FTitle = "Baseline";
  run.FType = "WO";
  for (std::size_t i = 0; i < count; ++i)
    run.FM301.FDrumWords.push_back({static_cast<uint32_t>(first + i * period), 0});
  return run;
}

}  // namespace reader_test
