// LoadFileData: the header, the variant's data reader, the time base and the channel list.

#include <vector>

#include "FileTimes.h"
#include "RunFile.h"
#include "RunFileBytes.h"

uint16_t LoadRunBytes(std::span<const uint8_t> bytes, const std::string& path, TRunData& run,
                      const TUnitTable& /*units: the altitude stays in feet*/,
                      const TComputationOptions& options) {
  uint16_t code = ParseRunHeader(bytes, path, run);
  if (code & 0xFF) return code;
  uint16_t data = kLoadNotRunFile;
  switch (RunVariant(run.FSignature)) {
    case TRunVariant::M301:
      data = ReadM301Data(bytes, run);
      break;
    case TRunVariant::MH100:
      data = ReadMHData(bytes, false, run);
      break;
    case TRunVariant::MH703:
      data = ReadMHData(bytes, true, run);
      break;
    case TRunVariant::None:
      break;
  }
  code |= data;
  if (data != 0) return code;
  BuildTimeBase(run);
  BuildChannelList(run, options);
  return code;
}

uint16_t LoadFileData(const std::string& path, TRunData& run, const TUnitTable& units,
                      const TComputationOptions& options) {
  ReadFileTimes(path, run);
  std::vector<uint8_t> bytes;
  if (!ReadRunFileBytes(path, bytes)) return kLoadCannotOpen;
  return LoadRunBytes(bytes, path, run, units, options);
}
