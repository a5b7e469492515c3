#pragma once

// The reader's steps over a run file's bytes held in memory. LoadFileData, ReadRunHeader and
// CheckRunFile read the file once and hand its bytes to these; the fuzz target calls them directly.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "ComputationOptions.h"
#include "RunData.h"
#include "Units.h"

// Run files are read whole into memory. Every series of a run holds at most 65535 samples, so real
// runs stay within a few megabytes; anything past this size is refused as unreadable (code 1)
// rather than letting a stray huge file exhaust memory.
inline constexpr std::size_t kMaxRunFileSize = 64u << 20;

enum class TRunVariant { None, M301, MH100, MH703 };

// The variant whose signature line ("M301\r\n", ...) equals the given first line.
TRunVariant RunVariant(const std::string& signature);

// Reads a whole regular file of at most maxSize bytes. False when the path is empty, the file is
// missing, not a regular file (a FIFO or device could block or never end), unreadable or larger.
bool ReadRunFileBytes(const std::string& path, std::vector<uint8_t>& bytes,
                      std::size_t maxSize = kMaxRunFileSize);

// CheckRunFile on the file's first bytes: 0 when they start with a signature line, else 2.
int CheckRunSignature(std::span<const uint8_t> bytes);

// ReadRunHeader without the file times: signature, path, name, texts, conditions, checksum.
uint16_t ParseRunHeader(std::span<const uint8_t> bytes, const std::string& path, TRunData& run);

// The data readers: raw series converted to physical series and conditions. Error bits or 0.
uint16_t ReadM301Data(std::span<const uint8_t> bytes, TRunData& run);
uint16_t ReadMHData(std::span<const uint8_t> bytes, bool mh703, TRunData& run);

// The common time base: FDT from 0.02 s, doubled until every series fits in 16383 points.
void BuildTimeBase(TRunData& run);
// Creates the derived channels (no values yet) in their fixed order.
void BuildChannelList(TRunData& run, const TComputationOptions& options);

// LoadFileData without the file times: header, data reader, time base, channel list.
uint16_t LoadRunBytes(std::span<const uint8_t> bytes, const std::string& path, TRunData& run,
                      const TUnitTable& units, const TComputationOptions& options = {});
