#pragma once

// Numbers as text for the exports: the shortest decimal text that reads back as the same value,
// so a channel value (single precision) takes at most 9 significant digits and a condition
// (double precision) at most 17, with nothing lost and no noise digits added.

#include <string>

// Shortest round-trip text of a float; empty for a value that is not finite (no value).
std::string FloatText(float value);
// Shortest round-trip text of a double; empty for a value that is not finite.
std::string DoubleText(double value);
