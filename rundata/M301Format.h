#pragma once

// The text part of M301 files, shared by the header reader and the data reader.

#include <array>
#include <cstddef>
#include <cstdint>

#include "ByteReader.h"

inline constexpr char kM301Parameters[] = "<PARAMETERS>\r\n";
inline constexpr char kM301Notes[] = "<NOTES>\r\n";
inline constexpr char kM301RunData[] = "<RUN_DATA>\r\n";
// Marker lines are searched in pieces of at most this many characters.
inline constexpr std::size_t kM301MarkerPiece = 77;

// The numbers after "<PARAMETERS>", in file order. Temperatures are as written, in Fahrenheit.
struct TM301Parameters {
  float FMass = 0;          // p1, drum equivalent mass, slugs
  float FDistance = 0;      // p2, distance per averaging window, ft
  int16_t FAltitude = 0;    // p3, feet; read as signed, used as unsigned
  float FAddedMass = 0;     // p4, slugs
  float FBaro = 0;          // p5, inHg
  double FDryBulb = 0;      // p6, °F
  double FWetBulb = 0;      // p7, °F
  float FPulseDivisor = 0;  // p8
  uint32_t FWindow = 1;     // p11, pulse intervals per speed measurement, 1..5
};

// Reads p1..p10; false when one of them cannot be read.
bool ReadM301Parameters(TByteReader& in, TM301Parameters& parameters);
// Reads the optional p11; FWindow becomes 1 when it is missing, unreadable or outside 1..5.
void ReadM301Window(TByteReader& in, TM301Parameters& parameters);

// Drum loss coefficients (c2, c1, c0) of an M301 roller, chosen by its equivalent mass.
std::array<double, 3> M301LossCoefficients(float mass);

double FahrenheitToCelsius(double fahrenheit);
