#pragma once

// The window's placement as the settings keep it: a 44-byte record of eleven little-endian
// 32-bit fields (length, flags, show command, minimised position, maximised position, normal
// rectangle), the layout the settings of earlier versions hold.

#include <QList>
#include <QRect>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

inline constexpr std::uint32_t kPlacementLength = 44;
inline constexpr std::uint32_t kShowNormal = 1;
inline constexpr std::uint32_t kShowMinimized = 2;
inline constexpr std::uint32_t kShowMaximized = 3;

struct TWindowPlacement {
  std::uint32_t Length = kPlacementLength;
  std::uint32_t Flags = 0;
  std::uint32_t ShowCmd = kShowNormal;
  std::int32_t MinX = -1, MinY = -1;  // minimised position; -1 when never set
  std::int32_t MaxX = -1, MaxY = -1;  // maximised position; -1 when never set
  // Normal (restored) rectangle in screen pixels; right and bottom exclusive.
  std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;

  bool operator==(const TWindowPlacement&) const = default;
};

// The record's bytes.
std::vector<std::uint8_t> EncodePlacement(const TWindowPlacement& placement);
// The record of exactly 44 bytes whose length field says 44; nothing for anything else.
std::optional<TWindowPlacement> DecodePlacement(std::span<const std::uint8_t> bytes);

// The placement for a window of `normal` geometry, maximised or not.
TWindowPlacement PlacementOf(const QRect& normal, bool maximized);
// The normal rectangle as a QRect.
QRect NormalRect(const TWindowPlacement& placement);

// True when the placement can be shown on these screens (their available areas): a sane
// size no larger than the screens together, and a strip of its top edge, where the title bar
// is, on one of them so the user can grab it.
bool PlacementUsable(const TWindowPlacement& placement, const QList<QRect>& screens);

// The placement of a first start: 90 % of the work area in each direction, centred in it.
QRect DefaultWindowRect(const QRect& workArea);
