// Stamps taken from a scratch image: the black pixels inside their box, one bit each.
#include "platform/qt/PixelStamp.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <bit>
#include <cstring>

namespace platform {

namespace {

constexpr QRgb kInk = 0xFF000000u;
constexpr QRgb kPaper = 0xFFFFFFFFu;

// The bits `from` .. `from + count - 1` of a word, count 1 to 64.
std::uint64_t bitRun(int from, int count) {
  const std::uint64_t ones = count >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1;
  return ones << from;
}

}  // namespace

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
  const int w = scratch.width();
  const int h = scratch.height();
  const auto rowOf = [&scratch](int y) { return reinterpret_cast<const QRgb*>(scratch.constScanLine(y)); };

  // The box of the ink; every pixel must be ink or paper, and no ink may touch the border.
  int left = w;
  int right = -1;
  int top = h;
  int bottom = -1;
  // Most rows are blank; glibc compares them whole far faster than a loop over their pixels.
  const std::vector<QRgb> blankRow(static_cast<std::size_t>(w), kPaper);
  for (int y = 0; y < h; ++y) {
    const QRgb* row = rowOf(y);
    if (std::memcmp(row, blankRow.data(), blankRow.size() * sizeof(QRgb)) == 0) continue;
    if (y == 0 || y == h - 1) return std::nullopt;
    for (int x = 0; x < w; ++x) {
      if (row[x] == kPaper) continue;
      if (row[x] != kInk || x == 0 || x == w - 1) return std::nullopt;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }

  PixelStamp stamp;
  if (right < 0) return stamp;
  stamp.left_ = left + area.left();
  stamp.top_ = top + area.top();
  stamp.rows_ = bottom - top + 1;
  stamp.wordsPerRow_ = (right - left) / 64 + 1;
  stamp.bits_.assign(static_cast<std::size_t>(stamp.rows_) * static_cast<std::size_t>(stamp.wordsPerRow_), 0);
  for (int y = top; y <= bottom; ++y) {
    const QRgb* row = rowOf(y);
    std::uint64_t* words = stamp.bits_.data() + static_cast<std::size_t>(y - top) * stamp.wordsPerRow_;
    for (int x = left; x <= right; ++x) {
      if (row[x] == kInk) words[(x - left) / 64] |= std::uint64_t{1} << ((x - left) % 64);
    }
  }
  return stamp;
}

void PixelStamp::stampOnto(const PixelBuffer& buffer, Point anchor, std::uint32_t argb) const {
  if (buffer.bits == nullptr || bits_.empty()) return;
  const long long x0 = static_cast<long long>(anchor.x) + left_;
  const long long y0 = static_cast<long long>(anchor.y) + top_;
  for (int r = 0; r < rows_; ++r) {
    const long long y = y0 + r;
    if (y < 0 || y >= buffer.height) continue;
    std::uint32_t* row = buffer.bits + static_cast<std::ptrdiff_t>(y) * buffer.stride;
    const std::uint64_t* words = bits_.data() + static_cast<std::size_t>(r) * wordsPerRow_;
    for (int j = 0; j < wordsPerRow_; ++j) {
      const long long base = x0 + 64LL * j;
      std::uint64_t word = words[j];
      // Only the bits of pixels 0 .. width - 1 of the row.
      if (base < 0) word = base <= -64 ? 0 : word & ~bitRun(0, static_cast<int>(-base));
      if (base + 64 > buffer.width) {
        const long long inside = buffer.width - base;
        word = inside <= 0 ? 0 : word & bitRun(0, static_cast<int>(inside));
      }
      while (word != 0) {
        const int start = std::countr_zero(word);
        const int count = std::countr_one(word >> start);
        std::fill_n(row + base + start, count, argb);
        word &= ~bitRun(start, count);
      }
    }
  }
}

int PixelStamp::pixelCount() const {
  int count = 0;
  for (const std::uint64_t word : bits_) count += std::popcount(word);
  return count;
}

}  // namespace platform
