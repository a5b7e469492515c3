#pragma once

// Windows-1252 <-> UTF-8. Texts inside run files and "SelectedUnits.cfg" are Windows-1252 bytes
// and stay bytes in the data; the user interface works with their UTF-8 view.

#include <string>
#include <string_view>

// Every byte maps: the five bytes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// become the C1 code points of the same value, as Windows converts them.
std::string Cp1252ToUtf8(std::string_view bytes);

// Characters without a Windows-1252 byte become '?', and so does each invalid UTF-8 sequence
// (one '?' per maximal invalid subpart). Cp1252ToUtf8 followed by this gives the bytes back.
std::string Utf8ToCp1252(std::string_view text);
