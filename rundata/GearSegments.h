#pragma once

// Gear segmentation of an engine-speed X axis: the stretches of a run in which the gear value
// (engine speed per road speed) holds steady long enough to count as one gear.

#include <cstdint>
#include <span>
#include <vector>

// Points first..last, both inclusive.
struct TGearSegment {
  uint32_t FStart = 0;
  uint32_t FEnd = 0;
  bool operator==(const TGearSegment&) const = default;
};

// Finds the segments of the gear values g in which the relative change from point to point
// stays within `drift` for at least `minPoints` points. At most g.size() / minPoints segments.
std::vector<TGearSegment> ScanGearSegments(std::span<const float> g, uint32_t minPoints,
                                           double drift);

// Merges neighbouring segments whose gear values at the meeting ends are less than 10 % apart.
// The points between two merged segments are appended to `gaps`, which the caller turns into
// gaps of the X values.
std::vector<TGearSegment> MergeGearSegments(std::span<const float> g,
                                            const std::vector<TGearSegment>& segments,
                                            std::vector<TGearSegment>& gaps);

// Mean of the finite values g[FStart..FEnd]; 0 for a segment outside g or without values.
float SegmentRatio(std::span<const float> g, const TGearSegment& segment);
