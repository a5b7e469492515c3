#include "WindowPlacement.h"

#include <algorithm>
#include <array>

namespace {

constexpr int kFields = 11;
// Smaller windows cannot show the tool bar and the run list; they come from damaged values.
constexpr int kMinSide = 100;
// The part of the top edge that must lie on a screen.
constexpr int kGrabWidth = 50;
constexpr int kGrabHeight = 20;

std::array<std::uint32_t, kFields> Fields(const TWindowPlacement& p) {
  const auto u = [](std::int32_t v) { return static_cast<std::uint32_t>(v); };
  return {p.Length,  p.Flags,   p.ShowCmd, u(p.MinX),  u(p.MinY),  u(p.MaxX),
          u(p.MaxY), u(p.Left), u(p.Top),  u(p.Right), u(p.Bottom)};
}

}  // namespace

std::vector<std::uint8_t> EncodePlacement(const TWindowPlacement& placement) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(kPlacementLength);
  for (const std::uint32_t field : Fields(placement)) {
    for (int shift = 0; shift < 32; shift += 8)
      bytes.push_back(static_cast<std::uint8_t>(field >> shift));
  }
  return bytes;
}

std::optional<TWindowPlacement> DecodePlacement(std::span<const std::uint8_t> bytes) {
  if (bytes.size() != kPlacementLength) return std::nullopt;
  std::array<std::uint32_t, kFields> f{};
  for (int i = 0; i < kFields; ++i) {
    std::uint32_t v = 0;
    for (int b = 3; b >= 0; --b)
      v = (v << 8) | bytes[static_cast<size_t>(i * 4 + b)];
    f[static_cast<size_t>(i)] = v;
  }
  if (f[0] != kPlacementLength) return std::nullopt;
  const auto s = [&f](int i) { return static_cast<std::int32_t>(f[static_cast<size_t>(i)]); };
  TWindowPlacement p;
  p.Length = f[0];
  p.Flags = f[1];
  p.ShowCmd = f[2];
  p.MinX = s(3);
  p.MinY = s(4);
  p.MaxX = s(5);
  p.MaxY = s(6);
  p.Left = s(7);
  p.Top = s(8);
  p.Right = s(9);
  p.Bottom = s(10);
  return p;
}

TWindowPlacement PlacementOf(const QRect& normal, bool maximized) {
  TWindowPlacement p;
  p.ShowCmd = maximized ? kShowMaximized : kShowNormal;
  p.Left = normal.left();
  p.Top = normal.top();
  p.Right = normal.left() + normal.width();
  p.Bottom = normal.top() + normal.height();
  return p;
}

QRect NormalRect(const TWindowPlacement& p) {
  // 64-bit differences: the fields come from storage and may be anything.
  const std::int64_t width = std::int64_t{p.Right} - p.Left;
  const std::int64_t height = std::int64_t{p.Bottom} - p.Top;
  if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX) return {};
  return QRect(p.Left, p.Top, static_cast<int>(width), static_cast<int>(height));
}

bool PlacementUsable(const TWindowPlacement& placement, const QList<QRect>& screens) {
  const QRect rect = NormalRect(placement);
  if (rect.isEmpty() || screens.isEmpty()) return false;
  if (rect.width() < kMinSide || rect.height() < kMinSide) return false;
  QRect desktop;
  for (const QRect& screen : screens)
    desktop |= screen;
  if (rect.width() > desktop.width() * 2 || rect.height() > desktop.height() * 2) return false;
  const QRect grab(rect.left(), rect.top(), rect.width(), kGrabHeight);
  return std::any_of(screens.begin(), screens.end(), [&grab](const QRect& screen) {
    const QRect shared = screen & grab;
    return shared.width() >= std::min(kGrabWidth, grab.width()) && shared.height() > 0;
  });
}

QRect DefaultWindowRect(const QRect& workArea) {
  const int width = static_cast<int>(0.9 * workArea.width());
  const int height = static_cast<int>(0.9 * workArea.height());
  return QRect(workArea.left() + (workArea.width() - width) / 2,
               workArea.top() + (workArea.height() - height) / 2, width, height);
}
