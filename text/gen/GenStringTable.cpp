// Build-time tool: turns the per-language text files into the C++ source of the string table.
//
//   tw_strgen OUTPUT.cpp LANG OFFSET FILE [LANG OFFSET FILE ...]
//
// The first file is the English one. Each line of a file is "id<TAB>text" with the escapes \r \n
// \t \\, or a comment (#...) or blank. Any malformed line, a duplicate id, an id outside the
// English range or a translated id that has no English text makes the tool fail, and with it the
// build: a broken table must never reach a user as silently missing texts.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// English ids lie below the first language offset (Japanese, 2500).
constexpr long kEnglishIdLimit = 2500;

struct TSource {
  std::string FLanguage;
  long FOffset = 0;
  std::string FPath;
};

class TGenError {
 public:
  explicit TGenError(std::string message) : FMessage(std::move(message)) {}
  const std::string& Message() const { return FMessage; }

 private:
  std::string FMessage;
};

// Strict UTF-8 check: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    int extra = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      extra = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2;
      if (c == 0xE0) lo = 0xA0;
      if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3;
      if (c == 0xF0) lo = 0x90;
      if (c == 0xF4) hi = 0x8F;
    } else {
      return false;
    }
    if (i + extra >= s.size()) return false;  // sequence cut short
    for (int k = 1; k <= extra; ++k) {
      const auto b = static_cast<unsigned char>(s[i + k]);
      if (b < (k == 1 ? lo : 0x80) || b > (k == 1 ? hi : 0xBF)) return false;
    }
    i += extra + 1;
  }
  return true;
}

std::string Unescape(const std::string& raw) {
  std::string text;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const char c = raw[i];
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
      throw TGenError("raw control character in text (write \\r, \\n or \\t)");
    if (c != '\\') {
      text += c;
      continue;
    }
    if (i + 1 >= raw.size()) throw TGenError("text ends with a lone backslash");
    switch (raw[++i]) {
      case 'r':
        text += '\r';
        break;
      case 'n':
        text += '\n';
        break;
      case 't':
        text += '\t';
        break;
      case '\\':
        text += '\\';
        break;
      default:
        throw TGenError(std::string("unknown escape \\") + raw[i]);
    }
  }
  return text;
}

bool IsBlankOrComment(const std::string& line) {
  const auto first = line.find_first_not_of(" \t");
  return first == std::string::npos || line[first] == '#';
}

// Reads one file into id -> text; throws with "path:line: message" on the first fault.
std::map<long, std::string> ReadTextFile(const TSource& source) {
  std::ifstream in(source.FPath, std::ios::binary);
  if (!in) throw TGenError(source.FPath + ": cannot open");
  std::map<long, std::string> texts;
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();  // a file saved with CRLF
    if (IsBlankOrComment(line)) continue;
    try {
      const auto tab = line.find('\t');
      if (tab == std::string::npos) throw TGenError("expected \"id<TAB>text\"");
      const std::string idText = line.substr(0, tab);
      if (idText.empty() || idText.size() > 4 ||
          idText.find_first_not_of("0123456789") != std::string::npos)
        throw TGenError("id \"" + idText + "\" is not a number below " +
                        std::to_string(kEnglishIdLimit));
      const long id = std::stol(idText);
      if (id >= kEnglishIdLimit)
        throw TGenError("id " + idText + " is not below " + std::to_string(kEnglishIdLimit));
      const std::string raw = line.substr(tab + 1);
      if (!IsValidUtf8(raw)) throw TGenError("text is not valid UTF-8");
      std::string text = Unescape(raw);
      if (text.empty()) throw TGenError("empty text (leave the id out instead)");
      if (!texts.emplace(id, std::move(text)).second)
        throw TGenError("duplicate id " + std::to_string(id));
    } catch (const TGenError& e) {
      throw TGenError(source.FPath + ":" + std::to_string(lineNo) + ": " + e.Message());
    }
  }
  return texts;
}

// A C++ string literal for any bytes: printable ASCII as is, everything else as an octal escape
// (three digits, so a following digit can never join the escape).
std::string Literal(const std::string& bytes) {
  std::string out = "\"";
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (b >= 0x20 && b < 0x7F && c != '?') {
      out += c;
    } else {
      char buf[5];
      std::snprintf(buf, sizeof buf, "\\%03o", b);
      out += buf;
    }
  }
  return out + "\"";
}

int Run(int argc, char** argv) {
  if (argc < 5 || (argc - 2) % 3 != 0) {
    std::cerr << "usage: tw_strgen OUTPUT.cpp LANG OFFSET FILE [LANG OFFSET FILE ...]\n";
    return 2;
  }
  const std::string output = argv[1];
  std::vector<TSource> sources;
  for (int i = 2; i + 2 < argc; i += 3) {
    char* end = nullptr;
    const long offset = std::strtol(argv[i + 1], &end, 10);
    if (*end != '\0' || offset < 0 || offset > 1000000) {
      std::cerr << "tw_strgen: bad offset " << argv[i + 1] << "\n";
      return 2;
    }
    sources.push_back({argv[i], offset, argv[i + 2]});
  }

  std::map<long, std::pair<std::string, std::string>> table;  // final id -> (language, text)
  std::set<long> englishIds;
  for (std::size_t s = 0; s < sources.size(); ++s) {
    const auto texts = ReadTextFile(sources[s]);
    for (const auto& [id, text] : texts) {
      if (s == 0) {
        englishIds.insert(id);
      } else if (!englishIds.count(id)) {
        throw TGenError(sources[s].FPath + ": id " + std::to_string(id) + " has no English text");
      }
      const long finalId = id + sources[s].FOffset;
      const auto [it, added] = table.emplace(finalId, std::make_pair(sources[s].FLanguage, text));
      if (!added)
        throw TGenError(sources[s].FPath + ": id " + std::to_string(id) + " lands on " +
                        std::to_string(finalId) + ", already used by " + it->second.first);
    }
  }

  std::ostringstream out;
  out << "// Generated by tw_strgen from text/strings/*.txt. Edit those files, not this one.\n\n"
      << "#include \"StringTable.h\"\n\n"
      << "namespace {\n\n"
      << "constexpr TStringEntry kEntries[] = {\n";
  for (const auto& [id, entry] : table)
    out << "    {" << id << ", " << Literal(entry.second) << "},  // " << entry.first << "\n";
  out << "};\n\n"
      << "}  // namespace\n\n"
      << "std::span<const TStringEntry> StringTable() { return kEntries; }\n";

  std::ofstream file(output, std::ios::binary | std::ios::trunc);
  file << out.str();
  file.close();
  if (!file) {
    std::cerr << "tw_strgen: cannot write " << output << "\n";
    std::remove(output.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const TGenError& e) {
    std::cerr << "tw_strgen: " << e.Message() << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "tw_strgen: " << e.what() << "\n";
    return 1;
  }
}
