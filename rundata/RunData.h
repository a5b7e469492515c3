#pragma once

// The data model of one loaded run: raw series decoded by the reader and the derived channels that
// the channel computation fills on a common time base.

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

// A source sample that could not be computed. Double series store the most negative finite double;
// a value counts only when it is greater.
inline constexpr double kInvalidMarker = std::numeric_limits<double>::lowest();
inline bool IsPresent(double value) { return value > kInvalidMarker; }

// A channel point without a value. Single-precision channel values use negative infinity; only
// finite values count.
inline constexpr float kNoValue = -std::numeric_limits<float>::infinity();

// Channel types: the low 16 bits of a channel identifier (ordinal * 65536 + type).
enum TChannelType : uint32_t {
  ctNone = 0,
  ctTime = 1,
  ctSpeed = 2,
  ctRPM = 3,
  ctAirFuel = 4,
  ctGear = 5,
  ctTotalPower = 12,
  ctPower = 13,
  ctClutchPower = 16,
  ctTotalTorque = 20,
  ctTorque = 21,
};

inline constexpr uint32_t ChannelType(uint32_t id) { return id & 0xFFFF; }
inline constexpr uint32_t ChannelOrdinal(uint32_t id) { return id >> 16; }
inline constexpr uint32_t ChannelID(uint32_t ordinal, uint32_t type) {
  return ordinal * 65536 + type;
}

// Bits of TRunData::FFlags.
inline constexpr uint32_t kFlagCorrected = 0x100;         // the correction factor was applied
inline constexpr uint32_t kFlagChecksumMismatch = 0x800;  // the MH703 checksum did not match

// A line pen as the graph uses it: colour 0x00BBGGRR, style 0..6 (solid, dash, dot, dash-dot,
// dash-dot-dot, clear, inside frame), width in pixels. The data code keeps it toolkit-free.
struct TPen {
  uint32_t FColor = 0;
  int32_t FStyle = 0;
  int32_t FWidth = 1;
  bool operator==(const TPen&) const = default;
};

// Gear segments of a channel: parallel arrays of Count() entries.
class TGears {
 public:
  virtual ~TGears() = default;

  uint32_t Count() const { return static_cast<uint32_t>(FRatio.size()); }

  std::vector<float> FRatio;     // mean gear value of the segment, 1.0 when reset
  std::vector<uint32_t> FStart;  // first point
  std::vector<uint32_t> FEnd;    // last point, inclusive
  std::vector<int32_t> FFlags;
  int32_t FSelected = 0;  // index of the segment shown
};

class TChannel {
 public:
  virtual ~TChannel() = default;

  uint32_t NumPoints() const { return static_cast<uint32_t>(FY.size()); }

  std::string FName;
  // Shared with the Y channels that borrow their X channel's segments.
  std::shared_ptr<TGears> FGears;
  // Borrowed: the X channel's values (its FY); never owned by this channel.
  const std::vector<float>* FX = nullptr;
  std::vector<float> FY;  // values in the selected unit; kNoValue where there is none
  uint32_t FUnitKind = 0;
  float FYMax = -std::numeric_limits<float>::infinity();
  float FYMin = std::numeric_limits<float>::infinity();
  float FXMax = -std::numeric_limits<float>::infinity();
  float FXMin = std::numeric_limits<float>::infinity();
  float FLimitMax = std::numeric_limits<float>::infinity();   // clamp limits; infinite = no clamp
  float FLimitMin = -std::numeric_limits<float>::infinity();
  float FXOffset = 0;  // offset by which the user dragged the line
  float FYOffset = 0;
  int32_t FAxis = -1;  // Y axis 1..6 the channel is drawn on, -1 when in no line slot
  uint32_t FID = 0;    // ordinal * 65536 + type
  float FArea = 0;     // area under the curve between the graph's area ends
  // Fixed axis ranges for this channel; both of a pair 0 means not yet set.
  float FScaleYMax = 0, FScaleYMin = 0, FScaleXMax = 0, FScaleXMin = 0;
};

// One drum (roller). All arrays have Count() elements.
class TDrumData {
 public:
  virtual ~TDrumData() = default;

  uint32_t Count() const { return static_cast<uint32_t>(FTime.size()); }
  void Resize(uint32_t n);  // all five arrays to n samples

  std::vector<uint32_t> FRaw;     // raw pulse words as read
  std::vector<double> FSpeed;     // surface speed at sample i, ft/s
  std::vector<double> FMidTime;   // time FSpeed[i] belongs to, s
  std::vector<double> FAccel;     // acceleration between samples i and i+1, ft/s², at index i
  std::vector<double> FTime;      // time of sample i, s
  double FTick = 0;               // seconds per timer count
  float FDistance = 0;            // surface distance of one averaging window, ft
  float FMass = 0;                // equivalent mass, slugs
  float FAddedMass = 0;           // further mass in force calculations, slugs
  float FMaxPower = std::numeric_limits<float>::infinity();   // rated power, hp; infinite = none
  float FMaxTorque = std::numeric_limits<float>::infinity();  // rated torque; infinite = none
  uint32_t FWindow = 1;           // pulse intervals per speed measurement
  std::string FName;              // "N/A" or the serial number (Windows-1252 bytes)
  std::array<double, 3> FLoss{};  // loss force, lbf = c2·v² + c1·v + c0 with v in ft/s
};

// One engine-speed series.
class TRPMData {
 public:
  virtual ~TRPMData() = default;

  uint32_t Count() const { return static_cast<uint32_t>(FTime.size()); }
  void Resize(uint32_t n);

  std::vector<uint32_t> FRaw;
  std::vector<double> FValue;  // revolutions per minute
  std::vector<double> FTime;   // s
  double FTick = 0;
  uint32_t FPulseDivisor = 0;  // M301 files only
};

// One analog series with its own time base.
class TIntData {
 public:
  virtual ~TIntData() = default;

  uint32_t Count() const { return static_cast<uint32_t>(FTime.size()); }
  void Resize(uint32_t n);

  std::vector<double> FValue;  // engineering value
  std::vector<double> FTime;   // s
  std::vector<double> FCoeff;  // calibration polynomial a0..aK-1
  int32_t FSensorID = 0;
};

// Float series; no reader of this version fills them, but a channel is made for each.
class TFloatData {
 public:
  virtual ~TFloatData() = default;

  uint32_t Count() const { return static_cast<uint32_t>(FTime.size()); }

  std::vector<float> FValue;
  std::vector<double> FTime;
  int32_t FChannelType = 0;
  std::string FName;
};

// One loaded run file.
class TRunData {
 public:
  TRunData();
  virtual ~TRunData() = default;
  TRunData(const TRunData&) = delete;
  TRunData& operator=(const TRunData&) = delete;

  uint32_t ChannelCount() const { return static_cast<uint32_t>(FChannels.size()); }

  // Frees all channels and creates n empty ones.
  void SetChannelCount(uint32_t n);
  // Appends a channel; its ordinal counts the existing channels of the same type. Returns its index.
  uint32_t AddChannel(uint32_t type, uint32_t unitKind, std::string name);
  // Append a series with room for n samples; return its index.
  uint32_t AddDrum(uint32_t n);
  uint32_t AddRPM(uint32_t n);
  uint32_t AddInt(uint32_t n);
  // Gives the channel n reset segments (ratio 1.0, start 0, end 0, flags 0), creating its TGears
  // when it has none.
  void ResetGears(TChannel& channel, uint32_t n);

  uint8_t FCleanRPM = 1;  // clean engine-speed data while reading; marks the run's list icon
  std::vector<std::unique_ptr<TChannel>> FChannels;
  std::vector<std::unique_ptr<TDrumData>> FDrums;
  std::vector<std::unique_ptr<TRPMData>> FRPMs;
  std::vector<std::unique_ptr<TIntData>> FInts;
  std::vector<std::unique_ptr<TFloatData>> FFloats;
  // The channels serving as X values, rebuilt by every data calculation; borrowed, may be null.
  std::vector<TChannel*> FXChannels;
  std::array<TChannel*, 12> FShown{};  // channel of line slot 0..11, borrowed, null = none

  double FDT = 0;          // seconds between two points of every channel
  uint32_t FNumPoints = 0; // points of every channel

  // File times in local time as day counts since 30 Dec 1899 (fraction = time of day).
  double FModified = 0, FCreated = 0, FAccessed = 0;

  // Paths are the operating system's bytes; the texts read from the file are Windows-1252 bytes.
  std::string FFileName;  // name with extension, no folder
  std::string FPath;      // path the file was opened with
  std::string FSignature; // first line as read, CR LF included
  std::string FTitle;
  std::string FDateText;  // FModified as the locale's short date and long time
  std::string FType;
  std::string FNotes;     // lines separated by CR LF

  int32_t FAltitudeDisplay = 0;  // altitude in the selected length unit, rounded
  int32_t FAltitude = 0;         // feet
  double FBaroDisplay = 0, FVaporDisplay = 0, FTempDisplay = 0, FHumidityDisplay = 0;
  double FBaro = 0;      // inHg
  double FVapor = 0;     // inHg
  double FTemp = 0;      // °C
  double FHumidity = 0;  // %
  double FCF = 1.0;      // correction factor applied to power and torque
  uint32_t FFlags = 0;   // kFlagCorrected, kFlagChecksumMismatch
  std::array<TPen, 6> FPens{};
};
