#pragma once

// Settings tables: each registry key is described once, by its path and a typed entry per
// value (name, kind, default), so that no value name or kind is repeated across files:
//
//   namespace ComputationKey {
//   inline constexpr std::string_view Path = "\\Software\\Halvorn Research
//   Inc.\\Benchlog7\\Data32"; inline constexpr TRegSetting<double> MaxDriftRate{"Max Drift Rate",
//   0.75}; inline constexpr TRegSetting<std::string> OldFile{"OldFile#"};  // OldFile0, OldFile1,
//   ...
//   }
//
//   TRegKeyScope key(registry, ComputationKey::Path);
//   double drift = ReadSettingOr(registry, ComputationKey::MaxDriftRate);
//
// The kind of an entry is its type: std::int32_t (integer), bool (integer 0 or 1),
// std::string (text), double (8-byte binary), TRegBytes (binary).

#include "Registry.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

using TRegBytes = std::vector<std::uint8_t>;

template <class T>
struct TRegDefaultOf {
  using Type = T;
};
template <>
struct TRegDefaultOf<std::string> {
  using Type = std::string_view;
};
template <>
struct TRegDefaultOf<TRegBytes> {
  using Type = std::span<const std::uint8_t>;
};

// What fills the '#' of a value-name pattern: an index ("Box#X" with 3 is "Box3X") or a text
// ("#Height" with "CursorFont" is "CursorFontHeight").
class TRegPart {
 public:
  TRegPart() = default;
  TRegPart(int index) : FText(std::to_string(index)) {}
  TRegPart(std::string_view text) : FText(text) {}
  TRegPart(const char* text) : FText(text) {}
  const std::string& Text() const { return FText; }

 private:
  std::string FText;
};

// One value of a key: its name (with at most one '#' to fill in) and its default, if any.
template <class T>
struct TRegSetting {
  static_assert(std::is_same_v<T, std::int32_t> || std::is_same_v<T, bool> ||
                    std::is_same_v<T, std::string> || std::is_same_v<T, double> ||
                    std::is_same_v<T, TRegBytes>,
                "a registry value is an integer, a boolean, a text, a float or binary");

  std::string_view Name;
  std::optional<typename TRegDefaultOf<T>::Type> Default{};

  // The value name with '#' replaced by `part` (the name itself when it has no '#').
  std::string NameFor(const TRegPart& part = {}) const {
    std::string name(Name);
    if (const auto hash = name.find('#'); hash != std::string::npos)
      name.replace(hash, 1, part.Text());
    return name;
  }

  // The default as a value; T{} when the entry has none.
  T DefaultValue() const {
    if (!Default) return T{};
    if constexpr (std::is_same_v<T, std::string>) {
      return std::string(*Default);
    } else if constexpr (std::is_same_v<T, TRegBytes>) {
      return TRegBytes(Default->begin(), Default->end());
    } else {
      return *Default;
    }
  }
};

// Reads a value of the open key; missing and wrong-kind values are reported in Status.
template <class T>
TRegRead<T> ReadSetting(const TRegistry& reg, const TRegSetting<T>& setting,
                        const TRegPart& part = {}) {
  const std::string name = setting.NameFor(part);
  if constexpr (std::is_same_v<T, std::int32_t>) {
    return reg.ReadInteger(name);
  } else if constexpr (std::is_same_v<T, bool>) {
    return reg.ReadBool(name);
  } else if constexpr (std::is_same_v<T, std::string>) {
    return reg.ReadString(name);
  } else if constexpr (std::is_same_v<T, double>) {
    return reg.ReadFloat(name);
  } else {
    return reg.ReadBinaryData(name);
  }
}

// The stored value, or the table's default when it is missing or of the wrong kind.
template <class T>
T ReadSettingOr(const TRegistry& reg, const TRegSetting<T>& setting, const TRegPart& part = {}) {
  TRegRead<T> read = ReadSetting(reg, setting, part);
  return read ? std::move(read.Value) : setting.DefaultValue();
}

// Writes a value of the open key; false when it could not be stored.
template <class T, class V>
bool WriteSetting(TRegistry& reg, const TRegSetting<T>& setting, const V& value,
                  const TRegPart& part = {}) {
  const std::string name = setting.NameFor(part);
  if constexpr (std::is_same_v<T, std::int32_t>) {
    return reg.WriteInteger(name, static_cast<std::int32_t>(value));
  } else if constexpr (std::is_same_v<T, bool>) {
    return reg.WriteBool(name, static_cast<bool>(value));
  } else if constexpr (std::is_same_v<T, std::string>) {
    return reg.WriteString(name, std::string_view(value));
  } else if constexpr (std::is_same_v<T, double>) {
    return reg.WriteFloat(name, static_cast<double>(value));
  } else {
    return reg.WriteBinaryData(name, std::span<const std::uint8_t>(value));
  }
}

// Writes the table's default unless a value of that name exists (of any kind); true when
// the value exists afterwards. An entry without a default writes nothing.
template <class T>
bool WriteDefaultIfMissing(TRegistry& reg, const TRegSetting<T>& setting,
                           const TRegPart& part = {}) {
  if (reg.ValueExists(setting.NameFor(part))) return true;
  if (!setting.Default) return false;
  return WriteSetting(reg, setting, setting.DefaultValue(), part);
}

// Opens a key (created when missing, by default) for the lifetime of the scope and closes it,
// storing its changes, at the end or at Close.
class TRegKeyScope {
 public:
  TRegKeyScope(TRegistry& reg, std::string_view path, bool canCreate = true)
      : FRegistry(reg), FOpen(reg.OpenKey(path, canCreate)) {}
  ~TRegKeyScope() { Close(); }
  TRegKeyScope(const TRegKeyScope&) = delete;
  TRegKeyScope& operator=(const TRegKeyScope&) = delete;

  bool IsOpen() const { return FOpen; }
  explicit operator bool() const { return FOpen; }
  // Closes the key; false when its changes could not be stored.
  bool Close() {
    if (!FOpen) return true;
    FOpen = false;
    return FRegistry.CloseKey();
  }

 private:
  TRegistry& FRegistry;
  bool FOpen;
};
