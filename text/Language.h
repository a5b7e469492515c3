#pragma once

// Language texts by id. Each lookup adds the current language offset to the id and falls back
// to English, then to a fixed text, so a lookup never fails. Texts are UTF-8.

#include <string>
#include <string_view>

// Offsets of the languages whose texts the table holds (Japanese and Chinese have offsets but no
// texts, so they read English).
inline constexpr int kOffsetEnglish = 0;
inline constexpr int kOffsetJapanese = 2500;
inline constexpr int kOffsetItalian = 5000;
inline constexpr int kOffsetGerman = 7500;
inline constexpr int kOffsetDutch = 10000;
inline constexpr int kOffsetFrench = 12500;
inline constexpr int kOffsetSpanish = 15000;
inline constexpr int kOffsetChinese = 17500;

// LANGIDs the application offers by name.
inline constexpr int kLangIdSystemDefault = -1;
inline constexpr int kLangIdEnglish = 1033;

// Text of id + offset; else the English text of id; else id in decimal.
std::string LangStr(int id);

// The current language offset (0 until a language is set).
int GetLanguageOffset();
// Offset of the given Windows language identifier (LANGID); 0 for languages without texts.
int LangIdToOffset(int langid);
// Sets the offset from the given LANGID, or from the user's locale for -1; returns the offset.
int SetLanguage(int langid);
// Sets the offset from the user's locale (SystemLangId); returns the offset.
int SetLanguageFromSystem();

// The LANGID of a POSIX locale name such as "fr_CH.UTF-8" or "de_AT@euro"; 1033 (English) for
// "C", "POSIX", an empty name or a language the table does not know. A territory the table does
// not list gets the language's main LANGID.
int LangIdFromLocale(std::string_view locale);
// The user's default LANGID from the environment: the first entry of LANGUAGE, else LC_ALL,
// LC_MESSAGES, LANG (the first that is set and not empty).
int SystemLangId();

// Correction factor c: k = 0 description, 1 short name; "CF String Not Found" when absent.
std::string CFString(int c, int k);
// Unit u of the catalogue: k = 0 quantity name, 1 symbol; "Unit String Not Found" when absent.
std::string UnitString(int u, int k);
// Channel type t: k = 0 short name, 1 long name; "Channel String Not Found" when absent.
std::string ChannelString(int t, int k);
