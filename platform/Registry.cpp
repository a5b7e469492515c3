#include "Registry.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QUtf8StringView>
#include <QVariant>

#include <bit>
#include <cctype>
#include <charconv>
#include <cstring>
#include <optional>
#include <system_error>

// Stored form of a value in its INI file: a kind prefix and the content, so that the kind
// survives the text-only format ("int:-1", "str:Verdana", "bin:000000000000e83f").
namespace {

constexpr std::string_view kIntPrefix = "int:";
constexpr std::string_view kStrPrefix = "str:";
constexpr std::string_view kBinPrefix = "bin:";
constexpr char kHexDigits[] = "0123456789abcdef";

void AppendEscape(std::string& out, unsigned char c) {
  constexpr char kUpper[] = "0123456789ABCDEF";
  out += '%';
  out += kUpper[c >> 4];
  out += kUpper[c & 15];
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

// A key component as a file or folder name: no separators, no "." or "..", and no trailing
// ".ini" that could meet the file of a sibling key.
std::string EncodeComponent(std::string_view part) {
  const bool onlyDots = part.find_first_not_of('.') == std::string_view::npos;
  const bool endsIni = part.size() >= 4 && part.substr(part.size() - 4) == ".ini";
  std::string out;
  for (std::size_t i = 0; i < part.size(); ++i) {
    const auto c = static_cast<unsigned char>(part[i]);
    const bool escape = c == '%' || c == '/' || c < 0x20 || c == 0x7F || (c == '.' && onlyDots) ||
                        (endsIni && i == part.size() - 4);
    if (escape)
      AppendEscape(out, c);
    else
      out += static_cast<char>(c);
  }
  return out;
}

// A value name as a QSettings key: '/' and '\' would open groups, so they are escaped along
// with '%' and '@'; the empty name (a key's default value) becomes "@".
QString EncodeName(std::string_view name) {
  if (name.empty()) return QStringLiteral("@");
  std::string out;
  for (char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '%' || c == '/' || c == '\\' || c == '@')
      AppendEscape(out, c);
    else
      out += ch;
  }
  return QString::fromStdString(out);
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string DecodeName(const QString& key) {
  if (key == QStringLiteral("@")) return {};
  const std::string in = key.toStdString();
  std::string out;
  for (std::size_t i = 0; i < in.size(); ++i) {
    if (in[i] == '%' && i + 2 < in.size() && HexValue(in[i + 1]) >= 0 && HexValue(in[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(in[i + 1]) * 16 + HexValue(in[i + 2]));
      i += 2;
    } else {
      out += in[i];
    }
  }
  return out;
}

std::optional<std::int32_t> ParseInteger(std::string_view text) {
  std::int64_t v = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, v);
  if (ec != std::errc() || ptr != end || text.empty()) return std::nullopt;
  if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(v);
}

std::optional<std::vector<std::uint8_t>> ParseHex(std::string_view text) {
  if (text.size() % 2 != 0) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  bytes.reserve(text.size() / 2);
  for (std::size_t i = 0; i < text.size(); i += 2) {
    const int hi = HexValue(text[i]);
    const int lo = HexValue(text[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    bytes.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
  }
  return bytes;
}

std::string FormatHex(std::span<const std::uint8_t> bytes) {
  std::string out(kBinPrefix);
  for (std::uint8_t b : bytes) {
    out += kHexDigits[b >> 4];
    out += kHexDigits[b & 15];
  }
  return out;
}

// True when every line is a section header or an entry, all in UTF-8: what QSettings writes,
// and all that it keeps when it rewrites a file.
bool IsPlainIni(const QByteArray& text) {
  if (!QUtf8StringView(text).isValidUtf8()) return false;
  for (const QByteArray& raw : text.split('\n')) {
    const QByteArray line = raw.trimmed();
    if (line.isEmpty()) continue;
    if (line.startsWith('[') ? !line.endsWith(']') : !line.contains('=')) return false;
  }
  return true;
}

TRegDataType KindOf(std::string_view stored) {
  if (stored.starts_with(kStrPrefix)) return TRegDataType::rdString;
  if (stored.starts_with(kIntPrefix) && ParseInteger(stored.substr(kIntPrefix.size())))
    return TRegDataType::rdInteger;
  if (stored.starts_with(kBinPrefix) && ParseHex(stored.substr(kBinPrefix.size())))
    return TRegDataType::rdBinary;
  return TRegDataType::rdUnknown;
}

}  // namespace

struct TRegistry::TImpl {
  std::filesystem::path File;
  std::unique_ptr<QSettings> Settings;
  bool Damaged = false;    // the file is not plain INI; a copy of it was set aside
  bool Protected = false;  // ... and the copy could not be made: nothing may be written
  bool Pending = false;    // changes not yet in the file

  // A file that is not plain INI would lose its other lines (comments, broken entries, bytes
  // that are not UTF-8) when it is rewritten, so a copy is kept beside it first.
  void Load() {
    const QString path = QFile::decodeName(QByteArray::fromStdString(File));
    Settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    QFile file(path);
    const QByteArray text = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    Damaged = !file.isOpen() || !IsPlainIni(text);
    Protected = Damaged && !SetAside(text);
  }

  // Keeps `text` in "Graph.ini.damaged" (or "-2", "-3", ...) unless a copy is already there.
  bool SetAside(const QByteArray& text) const {
    for (int n = 1; n <= 100; ++n) {
      std::filesystem::path copy = File;
      copy += n == 1 ? ".damaged" : ".damaged-" + std::to_string(n);
      QFile file(QFile::decodeName(QByteArray::fromStdString(copy)));
      if (file.exists()) {
        if (file.open(QIODevice::ReadOnly) && file.readAll() == text) return true;
        continue;
      }
      return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.flush();
    }
    return false;
  }

  // The stored key of `name`: the exact one, else one that differs only in case.
  std::optional<QString> FindKey(std::string_view name) const {
    const QString exact = EncodeName(name);
    if (Settings->contains(exact)) return exact;
    for (const QString& key : Settings->childKeys()) {
      if (EqualsNoCase(DecodeName(key), name)) return key;
    }
    return std::nullopt;
  }

  // The stored text of `name`; rsWrongKind when the INI holds a list or another type there.
  TRegRead<std::string> ReadStored(std::string_view name) const {
    if (!Settings) return {TRegStatus::rsNoKey, {}};
    const std::optional<QString> key = FindKey(name);
    if (!key) return {TRegStatus::rsMissing, {}};
    const QVariant value = Settings->value(*key);
    if (!value.isValid()) return {TRegStatus::rsMissing, {}};
    if (value.typeId() != QMetaType::QString) return {TRegStatus::rsWrongKind, {}};
    return {TRegStatus::rsOk, value.toString().toStdString()};
  }

  bool CanWrite() const { return Settings && !Protected; }

  bool Flush() {
    if (!Settings || !Pending) return true;
    Settings->sync();
    Pending = false;
    if (Damaged) {
      // The settings object keeps the first error it met (the parse error), so a failed
      // write would not show in its status; the file tells: rewritten, it is plain INI.
      Load();
      return !Damaged;
    }
    return Settings->status() == QSettings::NoError;
  }
};

TRegistry::TRegistry(std::filesystem::path root)
    : FRoot(std::move(root)), FImpl(std::make_unique<TImpl>()) {}

TRegistry::~TRegistry() {
  CloseKey();
}

std::filesystem::path TRegistry::DefaultRoot() {
  const QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  return std::filesystem::path(QFile::encodeName(dir).toStdString());
}

std::filesystem::path TRegistry::KeyFile(std::string_view key) const {
  std::vector<std::string_view> parts;
  std::size_t pos = 0;
  while (pos <= key.size()) {
    const std::size_t end = std::min(key.find('\\', pos), key.size());
    if (end > pos) parts.push_back(key.substr(pos, end - pos));
    pos = end + 1;
  }
  if (!parts.empty() && EqualsNoCase(parts.front(), "Software")) parts.erase(parts.begin());
  if (parts.empty() || FRoot.empty()) return {};
  std::filesystem::path file = FRoot;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i)
    file /= EncodeComponent(parts[i]);
  file /= EncodeComponent(parts.back()) + ".ini";
  return file;
}

bool TRegistry::OpenKey(std::string_view key, bool canCreate) {
  CloseKey();
  const std::filesystem::path file = KeyFile(key);
  if (file.empty()) return false;
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) {
    if (!canCreate) return false;
    std::filesystem::create_directories(file.parent_path(), ec);
    QFile created(QFile::decodeName(QByteArray::fromStdString(file)));
    if (!created.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
  }
  if (!std::filesystem::is_regular_file(file, ec)) return false;
  FImpl->File = file;
  FImpl->Load();
  FCurrentPath = std::string(key);
  return true;
}

bool TRegistry::Flush() {
  return FImpl->Flush();
}

bool TRegistry::CloseKey() {
  const bool stored = FImpl->Flush();
  FImpl->Settings.reset();
  FImpl->File.clear();
  FImpl->Damaged = false;
  FImpl->Protected = false;
  FImpl->Pending = false;
  FCurrentPath.clear();
  return stored;
}

bool TRegistry::HasOpenKey() const {
  return FImpl->Settings != nullptr;
}

bool TRegistry::KeyExists(std::string_view key) const {
  const std::filesystem::path file = KeyFile(key);
  std::error_code ec;
  return !file.empty() && std::filesystem::is_regular_file(file, ec);
}

bool TRegistry::ValueExists(std::string_view name) const {
  return FImpl->Settings && FImpl->FindKey(name).has_value();
}

TRegDataType TRegistry::GetDataType(std::string_view name) const {
  const TRegRead<std::string> stored = FImpl->ReadStored(name);
  return stored ? KindOf(stored.Value) : TRegDataType::rdUnknown;
}

std::vector<std::string> TRegistry::GetValueNames() const {
  std::vector<std::string> names;
  if (!FImpl->Settings) return names;
  for (const QString& key : FImpl->Settings->childKeys())
    names.push_back(DecodeName(key));
  return names;
}

bool TRegistry::DeleteValue(std::string_view name) {
  if (!FImpl->CanWrite()) return false;
  const std::optional<QString> key = FImpl->FindKey(name);
  if (!key) return false;
  FImpl->Settings->remove(*key);
  FImpl->Pending = true;
  return true;
}

TRegRead<std::int32_t> TRegistry::ReadInteger(std::string_view name) const {
  const TRegRead<std::string> stored = FImpl->ReadStored(name);
  if (!stored) return {stored.Status, 0};
  if (!std::string_view(stored.Value).starts_with(kIntPrefix)) return {TRegStatus::rsWrongKind, 0};
  const std::optional<std::int32_t> v = ParseInteger(stored.Value.substr(kIntPrefix.size()));
  if (!v) return {TRegStatus::rsWrongKind, 0};
  return {TRegStatus::rsOk, *v};
}

TRegRead<bool> TRegistry::ReadBool(std::string_view name) const {
  const TRegRead<std::int32_t> v = ReadInteger(name);
  return {v.Status, v && v.Value != 0};
}

TRegRead<std::string> TRegistry::ReadString(std::string_view name) const {
  TRegRead<std::string> stored = FImpl->ReadStored(name);
  if (!stored) return stored;
  if (!std::string_view(stored.Value).starts_with(kStrPrefix)) return {TRegStatus::rsWrongKind, {}};
  return {TRegStatus::rsOk, stored.Value.substr(kStrPrefix.size())};
}

TRegRead<std::vector<std::uint8_t>> TRegistry::ReadBinaryData(std::string_view name) const {
  const TRegRead<std::string> stored = FImpl->ReadStored(name);
  if (!stored) return {stored.Status, {}};
  if (!std::string_view(stored.Value).starts_with(kBinPrefix)) return {TRegStatus::rsWrongKind, {}};
  std::optional<std::vector<std::uint8_t>> bytes =
      ParseHex(std::string_view(stored.Value).substr(kBinPrefix.size()));
  if (!bytes) return {TRegStatus::rsWrongKind, {}};
  return {TRegStatus::rsOk, std::move(*bytes)};
}

TRegRead<double> TRegistry::ReadFloat(std::string_view name) const {
  const TRegRead<std::vector<std::uint8_t>> bytes = ReadBinaryData(name);
  if (!bytes) return {bytes.Status, 0.0};
  if (bytes.Value.size() != 8) return {TRegStatus::rsWrongKind, 0.0};
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i)
    bits = (bits << 8) | bytes.Value[i];
  return {TRegStatus::rsOk, std::bit_cast<double>(bits)};
}

bool TRegistry::WriteRaw(std::string_view name, const std::string& stored) {
  if (!FImpl->CanWrite()) return false;
  const QString key = FImpl->FindKey(name).value_or(EncodeName(name));
  FImpl->Settings->setValue(key, QString::fromStdString(stored));
  FImpl->Pending = true;
  return true;
}

bool TRegistry::WriteInteger(std::string_view name, std::int32_t value) {
  return WriteRaw(name, std::string(kIntPrefix) + std::to_string(value));
}

bool TRegistry::WriteBool(std::string_view name, bool value) {
  return WriteInteger(name, value ? 1 : 0);
}

bool TRegistry::WriteString(std::string_view name, std::string_view value) {
  return WriteRaw(name, std::string(kStrPrefix) + std::string(value));
}

bool TRegistry::WriteBinaryData(std::string_view name, std::span<const std::uint8_t> value) {
  return WriteRaw(name, FormatHex(value));
}

bool TRegistry::WriteFloat(std::string_view name, double value) {
  std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
  std::uint8_t bytes[8];
  for (auto& b : bytes) {
    b = static_cast<std::uint8_t>(bits & 0xFF);
    bits >>= 8;
  }
  return WriteBinaryData(name, bytes);
}
