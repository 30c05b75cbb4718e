// Thin lines by the midpoint rule and even-odd polygon fills, written pixel by pixel.
#include "PixelRaster.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace platform {

namespace {

// On and off runs of each pattern, in pixels, starting with a run that is drawn.
struct DashPattern {
  std::array<int, 6> runs{};
  int count = 0;
  int length = 0;
};

constexpr DashPattern patternOf(PenStyle style) {
  switch (style) {
    case PenStyle::Dash:
      return {{4, 2}, 2, 6};
    case PenStyle::Dot:
      return {{1, 2}, 2, 3};
    case PenStyle::DashDot:
      return {{4, 2, 1, 2}, 4, 9};
    case PenStyle::DashDotDot:
      return {{4, 2, 1, 2, 1, 2}, 6, 12};
    case PenStyle::Solid:
    case PenStyle::Clear:
      break;
  }
  return {};
}

// Whether pixel `index` of a line lies on a drawn run of the pattern.
bool drawnAt(const DashPattern& pattern, std::int64_t index) {
  if (pattern.count == 0) return true;
  int pos = static_cast<int>(index % pattern.length);
  for (int run = 0; run < pattern.count; ++run) {
    if (pos < pattern.runs[static_cast<std::size_t>(run)]) return run % 2 == 0;
    pos -= pattern.runs[static_cast<std::size_t>(run)];
  }
  return false;
}

inline void plot(const PixelBuffer& b, int x, int y, std::uint32_t argb, RasterOp op) {
  std::uint32_t& pixel = b.bits[static_cast<std::ptrdiff_t>(y) * b.stride + x];
  pixel = op == RasterOp::Copy ? argb : (~(argb ^ pixel) | 0xFF000000u);
}

// Range of steps i in [0, n) for which start + sign * i lies in [0, size).
bool stepRange(std::int64_t start, int sign, std::int64_t n, int size, std::int64_t& first, std::int64_t& last) {
  if (sign > 0) {
    first = std::max<std::int64_t>(0, -start);
    last = std::min<std::int64_t>(n - 1, size - 1 - start);
  } else {
    first = std::max<std::int64_t>(0, start - (size - 1));
    last = std::min<std::int64_t>(n - 1, start);
  }
  return first <= last;
}

}  // namespace

std::int64_t rasterLine(const PixelBuffer& buffer, Point from, Point to, std::uint32_t argb, PenStyle style,
                        RasterOp op, std::int64_t phase) {
  const std::int64_t dx = static_cast<std::int64_t>(to.x) - from.x;
  const std::int64_t dy = static_cast<std::int64_t>(to.y) - from.y;
  const std::int64_t adx = std::llabs(dx);
  const std::int64_t ady = std::llabs(dy);
  const int sx = dx < 0 ? -1 : 1;
  const int sy = dy < 0 ? -1 : 1;
  const bool xMajor = adx >= ady;
  const std::int64_t n = xMajor ? adx : ady;  // pixels drawn: the end pixel is left out
  if (n == 0 || style == PenStyle::Clear || buffer.bits == nullptr || buffer.width <= 0 || buffer.height <= 0) return n;
  const std::int64_t major0 = xMajor ? from.x : from.y;
  const std::int64_t minor0 = xMajor ? from.y : from.x;
  const int majorSign = xMajor ? sx : sy;
  const int minorSign = xMajor ? sy : sx;
  const std::int64_t minorDelta = xMajor ? ady : adx;
  const int majorSize = xMajor ? buffer.width : buffer.height;
  const int minorSize = xMajor ? buffer.height : buffer.width;

  // Only the steps whose major coordinate lies on the buffer are walked, so a line reaching far
  // off the buffer costs no more than one across it.
  std::int64_t first = 0;
  std::int64_t last = 0;
  if (!stepRange(major0, majorSign, n, majorSize, first, last)) return n;

  // Minor offset at step i: floor((2 i minorDelta + n) / (2 n)), kept as quotient and remainder.
  const std::int64_t twoN = 2 * n;
  const std::int64_t start = 2 * first * minorDelta + n;
  std::int64_t q = start / twoN;
  std::int64_t r = start % twoN;
  const DashPattern pattern = patternOf(style);
  for (std::int64_t i = first; i <= last; ++i) {
    const std::int64_t major = major0 + majorSign * i;
    const std::int64_t minor = minor0 + minorSign * q;
    if (minor >= 0 && minor < minorSize && drawnAt(pattern, phase + i)) {
      const int x = static_cast<int>(xMajor ? major : minor);
      const int y = static_cast<int>(xMajor ? minor : major);
      plot(buffer, x, y, argb, op);
    }
    // minorDelta <= n, so the remainder passes 2n at most once per step.
    r += 2 * minorDelta;
    if (r >= twoN) {
      ++q;
      r -= twoN;
    }
  }
  return n;
}

void rasterArc(const PixelBuffer& buffer, double cx, double cy, double rx, double ry, double startDegrees,
               double spanDegrees, std::uint32_t argb, PenStyle style, RasterOp op) {
  if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(rx) || !std::isfinite(ry) ||
      !std::isfinite(startDegrees) || !std::isfinite(spanDegrees)) {
    return;
  }
  constexpr double kDegree = 3.14159265358979323846 / 180.0;
  // Lines of about two pixels follow the curve closer than a pixel.
  const double length = std::abs(spanDegrees) * kDegree * std::max(std::abs(rx), std::abs(ry));
  const int lines = static_cast<int>(std::clamp(std::ceil(length / 2.0), 1.0, static_cast<double>(kMaxArcLines)));
  const auto pointAt = [&](int k) {
    const double a = (startDegrees + spanDegrees * k / lines) * kDegree;
    return Point{static_cast<int>(std::floor(cx + rx * std::cos(a) + 0.5)),
                 static_cast<int>(std::floor(cy - ry * std::sin(a) + 0.5))};
  };
  Point from = pointAt(0);
  std::int64_t phase = 0;
  for (int k = 1; k <= lines; ++k) {
    const Point to = pointAt(k);
    phase += rasterLine(buffer, from, to, argb, style, op, phase);
    from = to;
  }
}

void rasterFillPolygon(const PixelBuffer& buffer, std::span<const Point> corners, std::uint32_t argb, RasterOp op) {
  if (corners.size() < 3 || buffer.bits == nullptr || buffer.width <= 0 || buffer.height <= 0) return;
  int top = corners.front().y;
  int bottom = corners.front().y;
  for (const Point& p : corners) {
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  top = std::max(top, 0);
  bottom = std::min(bottom, buffer.height - 1);
  std::vector<double> crossings;
  crossings.reserve(corners.size());
  for (int y = top; y <= bottom; ++y) {
    const double yc = y + 0.5;
    crossings.clear();
    for (std::size_t i = 0; i < corners.size(); ++i) {
      const Point& a = corners[i];
      const Point& b = corners[(i + 1) % corners.size()];
      if ((a.y <= yc && yc < b.y) || (b.y <= yc && yc < a.y)) {
        crossings.push_back(a.x + (yc - a.y) * (static_cast<double>(b.x) - a.x) / (static_cast<double>(b.y) - a.y));
      }
    }
    std::sort(crossings.begin(), crossings.end());
    for (std::size_t k = 0; k + 1 < crossings.size(); k += 2) {
      // Pixels whose centre x + 0.5 lies in [left, right).
      const double left = std::clamp(std::ceil(crossings[k] - 0.5), 0.0, static_cast<double>(buffer.width));
      const double right = std::clamp(std::ceil(crossings[k + 1] - 0.5), 0.0, static_cast<double>(buffer.width));
      for (int x = static_cast<int>(left); x < static_cast<int>(right); ++x) plot(buffer, x, y, argb, op);
    }
  }
}

}  // namespace platform
