// Stamps taken from a scratch image: runs of black pixels, row by row.
#include "platform/qt/PixelStamp.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstring>
#include <vector>

namespace platform {

std::optional<PixelStamp> PixelStamp::capture(const QRect& area, const std::function<void(QPainter&, QPoint)>& paint) {
  if (area.width() < 3 || area.height() < 3) return std::nullopt;
  // The same format as the canvas's bitmap, so that Qt takes the same drawing path on both.
  QImage scratch(area.size(), QImage::Format_RGB32);
  if (scratch.isNull()) return std::nullopt;
  scratch.fill(Qt::white);
  {
    QPainter painter(&scratch);
    paint(painter, -area.topLeft());
  }
  constexpr QRgb kInk = 0xFF000000u;
  constexpr QRgb kPaper = 0xFFFFFFFFu;
  PixelStamp stamp;
  const int w = scratch.width();
  const int h = scratch.height();
  // Most rows are blank; glibc compares them whole far faster than a loop over their pixels.
  const std::vector<QRgb> blankRow(static_cast<std::size_t>(w), kPaper);
  for (int y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
    if (std::memcmp(row, blankRow.data(), blankRow.size() * sizeof(QRgb)) == 0) continue;
    const bool edgeRow = y == 0 || y == h - 1;
    int x = 0;
    while (x < w) {
      if (row[x] == kPaper) {
        ++x;
        continue;
      }
      if (row[x] != kInk || edgeRow || x == 0) return std::nullopt;
      const int start = x;
      while (x < w && row[x] == kInk) ++x;
      if (x == w || row[x] != kPaper) return std::nullopt;
      stamp.spans_.push_back({start + area.left(), y + area.top(), x - start});
    }
  }
  return stamp;
}

void PixelStamp::stampOnto(const PixelBuffer& buffer, Point anchor, std::uint32_t argb) const {
  if (buffer.bits == nullptr) return;
  for (const Span& span : spans_) {
    const long long y = static_cast<long long>(anchor.y) + span.dy;
    if (y < 0 || y >= buffer.height) continue;
    const long long left = std::max<long long>(0, static_cast<long long>(anchor.x) + span.dx);
    const long long right = std::min<long long>(buffer.width, static_cast<long long>(anchor.x) + span.dx + span.length);
    if (left >= right) continue;
    std::uint32_t* row = buffer.bits + static_cast<std::ptrdiff_t>(y) * buffer.stride;
    std::fill(row + left, row + right, argb);
  }
}

int PixelStamp::pixelCount() const {
  int count = 0;
  for (const Span& span : spans_) count += span.length;
  return count;
}

}  // namespace platform
