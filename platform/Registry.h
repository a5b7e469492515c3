#pragma once

// The per-user registry of the program: keys holding named, typed values (integer, text,
// binary; a float is 8 bytes of binary). Each key is one INI file under a root folder:
//
//   key path   \Software\Halvorn Research Inc.\Tracewell\Graph
//   file       <root>/Halvorn Research Inc./Tracewell/Graph.ini
//
// The leading "Software" component (any case) is dropped, so the keys of the program land in
// the usual per-user config layout; "\Software\Halvorn Research Inc.\Tracewell" is
// "<root>/Halvorn Research Inc./Tracewell.ini" and its subkeys live in the folder beside it.
// Key components are case-sensitive; value names are matched without regard to ASCII case
// and keep the case they were first written with, as the Windows registry does. Names may
// hold any characters; names and texts are UTF-8. No Qt type appears here, so the data code
// can use the registry with the standard library only.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The stored kind of a value; rdUnknown for a missing value or one whose text is not ours.
enum class TRegDataType { rdUnknown, rdString, rdInteger, rdBinary };

// Outcome of a read: the value, or why there is none.
enum class TRegStatus {
  rsOk,
  rsNoKey,      // no key is open
  rsMissing,    // the value does not exist
  rsWrongKind,  // the value exists with another kind or a malformed content
};

template <class T>
struct TRegRead {
  TRegStatus Status = TRegStatus::rsMissing;
  T Value{};

  explicit operator bool() const { return Status == TRegStatus::rsOk; }
  const T& operator*() const { return Value; }
  // The value when it was read, else the given fallback.
  T ValueOr(T fallback) const { return Status == TRegStatus::rsOk ? Value : std::move(fallback); }
};

class TRegistry {
 public:
  // Keys live under `root`; by default the user's config folder (~/.config).
  explicit TRegistry(std::filesystem::path root = DefaultRoot());
  ~TRegistry();
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  // The user's config folder.
  static std::filesystem::path DefaultRoot();
  const std::filesystem::path& Root() const { return FRoot; }

  // The file that holds `key`, or an empty path when the key names nothing (no component).
  std::filesystem::path KeyFile(std::string_view key) const;

  // Closes the current key and opens `key` (absolute, components split by '\'); creates it
  // when missing and `canCreate` is set. False when it does not exist or cannot be made.
  bool OpenKey(std::string_view key, bool canCreate);
  // Stores the changes of the open key (see Flush) and closes it.
  bool CloseKey();
  // Stores the changes made since the key was opened or last stored; false when the file
  // could not be written. Closing the key or the registry stores them too.
  bool Flush();
  bool HasOpenKey() const;
  const std::string& CurrentPath() const { return FCurrentPath; }
  bool KeyExists(std::string_view key) const;

  bool ValueExists(std::string_view name) const;
  TRegDataType GetDataType(std::string_view name) const;
  // The names of the open key's values, in no particular order.
  std::vector<std::string> GetValueNames() const;
  bool DeleteValue(std::string_view name);  // false when there is no such value

  // Reads of the open key. A value of another kind is reported as rsWrongKind.
  TRegRead<std::int32_t> ReadInteger(std::string_view name) const;
  TRegRead<bool> ReadBool(std::string_view name) const;  // an integer, true when not 0
  TRegRead<std::string> ReadString(std::string_view name) const;
  TRegRead<double> ReadFloat(std::string_view name) const;  // binary of exactly 8 bytes
  TRegRead<std::vector<std::uint8_t>> ReadBinaryData(std::string_view name) const;

  // Writes to the open key, seen at once by its reads and stored in the file by Flush or
  // CloseKey; false when no key is open. A value of another kind under that name is replaced.
  bool WriteInteger(std::string_view name, std::int32_t value);
  bool WriteBool(std::string_view name, bool value);  // the integer 0 or 1
  bool WriteString(std::string_view name, std::string_view value);
  bool WriteFloat(std::string_view name, double value);  // 8 bytes, little-endian IEEE 754
  bool WriteBinaryData(std::string_view name, std::span<const std::uint8_t> value);

 private:
  struct TImpl;
  bool WriteRaw(std::string_view name, const std::string& stored);

  std::filesystem::path FRoot;
  std::string FCurrentPath;
  std::unique_ptr<TImpl> FImpl;
};
