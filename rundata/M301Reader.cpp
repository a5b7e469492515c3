// The data reader of M301 files: one drum of 24-bit pulse timer words, engine-speed words and
// temperature bytes after the "<RUN_DATA>" line.

#include <limits>

#include "DrumMotion.h"
#include "M301Format.h"
#include "RunFile.h"
#include "RunFileBytes.h"
#include "SafeConvert.h"

namespace {

constexpr double kM301Tick = 1e-6;  // seconds per timer count
// The 24-bit drum timer wraps after 0xFFFFFF; the acquisition adds that, not 2^24, per wrap.
constexpr double kM301TimerWrap = 16777215;
constexpr uint8_t kEngineWordFlag = 0x40;
constexpr uint8_t kTemperatureFlag = 0x80;
constexpr uint8_t kExtraBytesFlag = 0x40;  // in b0: four bytes follow the engine-speed words
constexpr uint32_t kMinEngineWords = 7;
constexpr float kTemperatureScale = 0.3135f;  // °C per count of a temperature byte
constexpr float kPsychrometerConstant = 0.00066f;

uint8_t WordFlags(uint32_t raw) {
  return static_cast<uint8_t>(raw >> 24);
}

// Drum words d1 d2 d3 d4: timer count d3 + 256 d1 + 65536 d4, flags d2; kept as one word with
// the count in the low 24 bits and the flags on top.
bool ReadDrumWords(TByteReader& in, TDrumData& drum) {
  const std::size_t words = drum.Count();
  uint32_t wraps = 0;
  uint32_t previous = 0;
  for (std::size_t i = 0; i < words; ++i) {
    std::span<const uint8_t> d;
    if (!in.Read(4, d)) {
      drum.Resize(static_cast<uint32_t>(i));
      return false;
    }
    const uint32_t count = d[2] | uint32_t{d[0]} << 8 | uint32_t{d[3]} << 16;
    drum.FRaw[i] = count | uint32_t{d[1]} << 24;
    if (i > 0 && count < previous) ++wraps;
    previous = count;
    drum.FTime[i] = (count + wraps * kM301TimerWrap) * drum.FTick;
  }
  return true;
}

// One engine-speed value per drum pulse marked 0x40, timed midway between this and the previous
// marked pulse.
uint16_t ReadEngineWords(TByteReader& in, const TDrumData& drum, uint32_t engineWords,
                         float pulseDivisor, TRunData& run) {
  TRPMData& rpm = *run.FRPMs[run.AddRPM(engineWords)];
  rpm.FTick = kM301Tick;
  rpm.FPulseDivisor = TruncToU32(pulseDivisor);
  const std::ptrdiff_t last = static_cast<std::ptrdiff_t>(drum.Count()) - 1;
  std::ptrdiff_t previous = -1;
  for (uint32_t j = 0; j < engineWords; ++j) {
    uint32_t word = 0;
    if (!in.ReadU32(word)) {
      rpm.Resize(j);
      return kLoadBadData;
    }
    rpm.FRaw[j] = word;
    std::ptrdiff_t found = previous + 1;
    while (found <= last && !(WordFlags(drum.FRaw[found]) & kEngineWordFlag))
      ++found;
    if (found > last) found = last;
    rpm.FTime[j] = found > previous && previous > 0
                       ? (drum.FTime[previous] + drum.FTime[found]) * 0.5
                       : kInvalidMarker;
    previous = found;
    // (pulses - 1) engine revolutions of two pulses each over the period, per minute.
    const int pulses = static_cast<int>(word >> 24);
    const double period =
        (word & 0xFFFFFF) * rpm.FTick * (static_cast<double>(rpm.FPulseDivisor) + 1);
    rpm.FValue[j] = period != 0 ? (pulses - 1) * 2 / period * 60 : kInvalidMarker;
  }
  return 0;
}

// Temperature bytes 1..254 are readings; 0 and 255 mean the sensor was absent or failed, and then
// no conditions are taken from the file.
uint16_t ReadTemperatures(TByteReader& in, uint32_t count, const TM301Parameters& parameters,
                          TRunData& run) {
  std::span<const uint8_t> bytes;
  if (!in.Read(count, bytes)) return kLoadBadData;
  run.FFlags |= kFlagCorrected;
  uint64_t sum = 0;
  for (uint8_t b : bytes) {
    if (b < 1 || b > 254) {
      run.FFlags &= ~kFlagCorrected;
      run.FTemp = run.FVapor = 0;
      return 0;
    }
    sum += b;
  }
  const double dry = FahrenheitToCelsius(parameters.FDryBulb);
  const double wet = FahrenheitToCelsius(parameters.FWetBulb);
  run.FTemp = static_cast<double>(sum) / count * double{kTemperatureScale};
  run.FVapor = SaturationVaporPressure(ToFloat(wet)) -
               double{kPsychrometerConstant} * run.FBaro * (dry - wet);
  return 0;
}

}  // namespace

uint16_t ReadM301Data(std::span<const uint8_t> bytes, TRunData& run) {
  TByteReader in(bytes);
  TM301Parameters parameters;
  if (!in.SkipToLine(kM301MarkerPiece, kM301Parameters)) return kLoadBadData;
  if (!ReadM301Parameters(in, parameters)) return kLoadBadData;
  ReadM301Window(in, parameters);
  if (!in.SkipToLine(kM301MarkerPiece, kM301RunData)) return kLoadBadData;

  uint8_t b0 = 0, b1 = 0;
  if (!in.ReadU8(b0) || !in.ReadU8(b1)) return kLoadBadData;
  const uint32_t words = (b0 & 0x0Fu) * 256 + b1;

  TDrumData& drum = *run.FDrums[run.AddDrum(words)];
  drum.FMass = parameters.FMass;
  drum.FAddedMass = parameters.FAddedMass;
  drum.FDistance = parameters.FDistance;
  drum.FWindow = parameters.FWindow;
  drum.FTick = kM301Tick;
  drum.FName = "N/A";
  drum.FMaxPower = drum.FMaxTorque = std::numeric_limits<float>::infinity();
  drum.FLoss = M301LossCoefficients(parameters.FMass);
  const bool complete = ReadDrumWords(in, drum);
  ComputeDrumMotion(drum, true);
  if (!complete) return kLoadBadData;

  uint32_t engineWords = 0, temperatures = 0;
  for (uint32_t raw : drum.FRaw) {
    if (WordFlags(raw) & kEngineWordFlag) ++engineWords;
    if (WordFlags(raw) & kTemperatureFlag) ++temperatures;
  }
  // A handful of engine words is no usable series; those bytes then read as temperature bytes.
  if (engineWords >= kMinEngineWords) {
    if (const uint16_t code = ReadEngineWords(in, drum, engineWords, parameters.FPulseDivisor, run))
      return code;
    if (b0 & kExtraBytesFlag) in.Skip(4);
  }
  if (temperatures > 0) return ReadTemperatures(in, temperatures, parameters, run);
  return 0;
}
