// The header reader: signature, texts, conditions from the header, the MH703 checksum.

#include <filesystem>
#include <vector>

#include "ByteReader.h"
#include "Crc32.h"
#include "FileTimes.h"
#include "M301Format.h"
#include "MHRecords.h"
#include "RunFile.h"
#include "RunFileBytes.h"

namespace {

constexpr std::size_t kSignatureLineLength = 127;
constexpr std::size_t kM301TitleLineLength = 126;
constexpr std::size_t kM301NoteLineLength = 126;
constexpr int kM301NoteLines = 5;
constexpr std::size_t kM301TitleColumn = 1, kM301TitleWidth = 38;
constexpr std::size_t kM301TypeColumn = 39, kM301TypeWidth = 2;

// MH100 header fields.
constexpr std::size_t kMH100TitleOffset = 32, kMH100TitleSize = 40;
constexpr std::size_t kMH100TypeOffset = 72, kMH100TypeSize = 4;
constexpr std::size_t kMH100NotesOffset = 76, kMH100NotesSize = 376;
constexpr std::size_t kMH100AltitudeOffset = 452;
// MH703 header fields.
constexpr std::size_t kMH703TitleLengthOffset = 32, kMH703NotesLengthOffset = 36;
constexpr std::size_t kMH703TypeOffset = 40, kMH703TypeSize = 4;
constexpr std::size_t kMH703AltitudeOffset = 44;

void TrimTrailingBlanks(std::string& text) {
  const auto end = text.find_last_not_of(" \r\n");
  text.erase(end == std::string::npos ? 0 : end + 1);
}

// Notes typed on other systems may separate lines by LF alone; the run keeps CR LF.
std::string LineFeedsToCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out.push_back('\r');
    out.push_back(text[i]);
  }
  return out;
}

std::string Field(std::span<const uint8_t> block, std::size_t offset, std::size_t size) {
  return CText(block.subspan(offset, size));
}

// A line's text without its terminating LF or CR LF.
std::string LineContent(const std::string& line) {
  std::string content = CText(line);
  if (!content.empty() && content.back() == '\n') content.pop_back();
  if (!content.empty() && content.back() == '\r') content.pop_back();
  return content;
}

uint16_t ReadM301Header(TByteReader& in, TRunData& run) {
  std::string line;
  if (in.ReadLine(kM301TitleLineLength, line)) {
    // "<", 38 columns of title, 2 of type, ">"; the M301 title keeps its padding blanks.
    const std::string content = LineContent(line);
    if (content.size() > kM301TitleColumn)
      run.FTitle = content.substr(kM301TitleColumn, kM301TitleWidth);
    if (content.size() > kM301TypeColumn)
      run.FType = content.substr(kM301TypeColumn, kM301TypeWidth);
  }
  if (!in.SkipToLine(kM301MarkerPiece, kM301Parameters)) return 0;  // no conditions recorded

  TM301Parameters parameters;
  if (!ReadM301Parameters(in, parameters)) return kLoadBadData;
  run.FAltitude = static_cast<uint16_t>(parameters.FAltitude);
  run.FBaro = parameters.FBaro;
  if (!in.SkipToLine(kM301MarkerPiece, kM301Notes)) return kLoadBadData;

  // Each note line is "<" text ">" CR LF. Empty lines leave no trace: leading ones vanish, and
  // the trailing blanks of each step swallow the CR LF before an empty line.
  run.FNotes.clear();
  for (int i = 0; i < kM301NoteLines; ++i) {
    if (!in.ReadLine(kM301NoteLineLength, line)) line.clear();
    const std::string text = CText(line);
    if (text.size() >= 4) run.FNotes += text.substr(1, text.size() - 4);
    TrimTrailingBlanks(run.FNotes);
    if (i < kM301NoteLines - 1 && !run.FNotes.empty()) run.FNotes += "\r\n";
  }
  return 0;
}

// Follows the records to the end without keeping anything. A record that has a body but finds the
// file ended right after its type byte is the one fault reported here.
uint16_t WalkMHRecords(TByteReader& in, bool mh703) {
  uint16_t recordCount = 0;
  if (!ReadMHPreamble(in, mh703, recordCount)) return 0;
  TMHRecord record;
  for (uint32_t i = 0; i < recordCount; ++i) {
    const TRecordRead result = ReadMHRecord(in, mh703, record);
    if (result == TRecordRead::NoRecord) break;
    if (record.FBodyAtEnd && record.FType >= rtEngineSpeed && record.FType <= rtOther)
      return kLoadBadData;
    if (result == TRecordRead::Short) break;
  }
  return 0;
}

uint16_t ReadMH100Header(TByteReader& in, TRunData& run) {
  in.Seek(0);
  std::span<const uint8_t> header;
  if (!in.Read(kMH100HeaderSize, header)) return kLoadBadData;
  run.FType = Field(header, kMH100TypeOffset, kMH100TypeSize);
  run.FTitle = Field(header, kMH100TitleOffset, kMH100TitleSize);
  TrimTrailingBlanks(run.FTitle);
  run.FNotes = Field(header, kMH100NotesOffset, kMH100NotesSize);
  TrimTrailingBlanks(run.FNotes);
  run.FNotes = LineFeedsToCrLf(run.FNotes);
  run.FAltitude = static_cast<int16_t>(U16At(header, kMH100AltitudeOffset));
  return WalkMHRecords(in, false);
}

// The CRC-32 of the whole file with the checksum field itself taken as zero.
bool MH703ChecksumMatches(std::span<const uint8_t> bytes) {
  if (bytes.size() < kMH703HeaderSize) return true;  // no checksum field; the header read fails
  const CCrc32Dynamic& crc32 = TheCrc32();
  constexpr std::size_t kField = 4;
  const uint8_t zeros[kField] = {};
  uint32_t crc = crc32.Extend(0, bytes.data(), kMH703ChecksumOffset);
  crc = crc32.Extend(crc, zeros, kField);
  crc = crc32.Extend(crc, bytes.data() + kMH703ChecksumOffset + kField,
                     bytes.size() - kMH703ChecksumOffset - kField);
  return crc == U32At(bytes, kMH703ChecksumOffset);
}

uint16_t ReadMH703Header(std::span<const uint8_t> bytes, TByteReader& in, TRunData& run) {
  uint16_t code = 0;
  if (!MH703ChecksumMatches(bytes)) {
    run.FFlags |= kFlagChecksumMismatch;
    code |= kLoadChecksumMismatch;
  }
  in.Seek(0);
  std::span<const uint8_t> header, title, notes;
  if (!in.Read(kMH703HeaderSize, header)) return code | kLoadBadData;
  run.FType = Field(header, kMH703TypeOffset, kMH703TypeSize);
  run.FAltitude = static_cast<int16_t>(U16At(header, kMH703AltitudeOffset));
  // The lengths are checked against the bytes really there before anything is taken.
  if (!in.Read(U32At(header, kMH703TitleLengthOffset), title)) return code | kLoadBadData;
  run.FTitle = CText(title);
  if (!in.Read(U32At(header, kMH703NotesLengthOffset), notes)) return code | kLoadBadData;
  run.FNotes = CText(notes);
  return code | WalkMHRecords(in, true);
}

}  // namespace

uint16_t ParseRunHeader(std::span<const uint8_t> bytes, const std::string& path, TRunData& run) {
  TByteReader in(bytes);
  std::string line;
  bool hitEnd = false;
  in.ReadLine(kSignatureLineLength, line, &hitEnd);
  run.FSignature = CText(line);
  run.FPath = path;
  run.FFileName = std::filesystem::path(path).filename().string();
  if (hitEnd) return kLoadNotRunFile;

  switch (RunVariant(run.FSignature)) {
    case TRunVariant::M301:
      return ReadM301Header(in, run);
    case TRunVariant::MH100:
      return ReadMH100Header(in, run);
    case TRunVariant::MH703:
      return ReadMH703Header(bytes, in, run);
    case TRunVariant::None:
      break;
  }
  return kLoadNotRunFile;
}

uint16_t ReadRunHeader(const std::string& path, TRunData& run) {
  ReadFileTimes(path, run);
  std::vector<uint8_t> bytes;
  if (!ReadRunFileBytes(path, bytes)) return kLoadCannotOpen;
  return ParseRunHeader(bytes, path, run);
}
