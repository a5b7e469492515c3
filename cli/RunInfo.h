#pragma once

// What `info` reports of a loaded run, gathered once and written as text or JSON.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "GphData.h"
#include "JsonWriter.h"

// A run condition as recorded (base unit) and as shown in the selected unit.
struct TConditionInfo {
  std::string FKey, FLabel;
  double FValue = 0;
  std::string FUnit;
  double FDisplay = 0;
  std::string FDisplayUnit;
};

// The factor one correction standard gives the run.
struct TCorrectionInfo {
  int32_t FIndex = 0;
  std::string FName, FDescription;
  double FFactor = 1;
  bool FApplied = false;  // the conditions allowed the correction
};

struct TRunInfo {
  std::string FPath;
  uint16_t FLoadCode = 0;
  uint16_t FCalcCode = 0;
  const TRunData* FRun = nullptr;   // null when the load failed
  const TGphData* FData = nullptr;  // the data set holding the run
  std::vector<TConditionInfo> FConditions;
  std::vector<TCorrectionInfo> FCorrections;
};

// Fills the conditions and correction factors of a computed run (FRun and FData set). The
// factors are computed on the run itself, whose correction flag then reflects the last entry.
void GatherRunInfo(TRunInfo& info, TRunData& run);

// The report of one run as text for a person; texts from the run file are shown as UTF-8 with
// control characters replaced.
void WriteRunInfoText(std::ostream& out, const TRunInfo& info);
// The report of one run as a JSON object.
void WriteRunInfoJson(TJsonWriter& json, const TRunInfo& info);
