// Getting a run file's bytes into memory, and the signature check of CheckRunFile.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

#include "ByteReader.h"
#include "RunFile.h"
#include "RunFileBytes.h"

namespace {

// CheckRunFile reads at most this many characters of line 1.
constexpr std::size_t kCheckLineLength = 77;

// Owns a descriptor opened for reading a regular file.
class TReadOnlyFile {
 public:
  explicit TReadOnlyFile(const std::string& path) {
    if (path.empty()) return;
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer forever.
    FFd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (FFd < 0) return;
    struct stat info {};
    if (::fstat(FFd, &info) != 0 || !S_ISREG(info.st_mode))
      Close();
    else
      FSizeHint = info.st_size > 0 ? static_cast<std::size_t>(info.st_size) : 0;
  }
  ~TReadOnlyFile() { Close(); }
  TReadOnlyFile(const TReadOnlyFile&) = delete;
  TReadOnlyFile& operator=(const TReadOnlyFile&) = delete;

  bool IsOpen() const { return FFd >= 0; }
  std::size_t SizeHint() const { return FSizeHint; }

  // Appends up to limit bytes; false on a read error. Does not trust the size the file system
  // reports, which may be 0 for generated files or change while reading.
  bool ReadUpTo(std::size_t limit, std::vector<uint8_t>& bytes) {
    constexpr std::size_t kChunk = 64 * 1024;
    // Room for the size seen at opening and one byte more, so a file that keeps its size is
    // read without growing the buffer.
    bytes.reserve(std::min(limit, FSizeHint + 1));
    while (bytes.size() < limit) {
      const std::size_t old = bytes.size();
      const std::size_t room = bytes.capacity() > old ? bytes.capacity() - old : kChunk;
      const std::size_t want = std::min(room, limit - old);
      bytes.resize(old + want);
      const ssize_t got = ::read(FFd, bytes.data() + old, want);
      if (got < 0 && errno == EINTR) {
        bytes.resize(old);
        continue;
      }
      if (got <= 0) {
        bytes.resize(old);
        return got == 0;
      }
      bytes.resize(old + static_cast<std::size_t>(got));
    }
    return true;
  }

 private:
  void Close() {
    if (FFd >= 0) ::close(FFd);
    FFd = -1;
  }
  int FFd = -1;
  std::size_t FSizeHint = 0;  // the size when opened
};

}  // namespace

TRunVariant RunVariant(const std::string& signature) {
  if (signature == kSignatureM301) return TRunVariant::M301;
  if (signature == kSignatureMH100) return TRunVariant::MH100;
  if (signature == kSignatureMH703) return TRunVariant::MH703;
  return TRunVariant::None;
}

bool ReadRunFileBytes(const std::string& path, std::vector<uint8_t>& bytes, std::size_t maxSize) {
  bytes.clear();
  TReadOnlyFile file(path);
  if (!file.IsOpen()) return false;
  // One byte more than allowed tells an oversized file from one of exactly maxSize bytes.
  const std::size_t limit = maxSize < SIZE_MAX ? maxSize + 1 : maxSize;
  if (!file.ReadUpTo(limit, bytes) || bytes.size() > maxSize) {
    bytes.clear();
    bytes.shrink_to_fit();
    return false;
  }
  return true;
}

int CheckRunSignature(std::span<const uint8_t> bytes) {
  TByteReader in(bytes);
  std::string line;
  bool hitEnd = false;
  if (!in.ReadLine(kCheckLineLength, line, &hitEnd) || hitEnd) return kLoadNotRunFile;
  return RunVariant(line) == TRunVariant::None ? kLoadNotRunFile : 0;
}

int CheckRunFile(const std::string& path) {
  TReadOnlyFile file(path);
  if (!file.IsOpen()) return kLoadCannotOpen;
  std::vector<uint8_t> head;
  // One byte past the line limit shows whether the line read stopped at its limit or at the end.
  if (!file.ReadUpTo(kCheckLineLength + 1, head)) return kLoadCannotOpen;
  return CheckRunSignature(head);
}
