// Canvas calls carried out with a QPainter kept open on the canvas's own QImage.
#include "platform/qt/QtCanvas.h"

#include <QBrush>
#include <QColor>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QString>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "platform/NumberFormat.h"
#include "platform/PixelRaster.h"
#include "platform/qt/QtFont.h"

namespace platform {

namespace {

// Arcs up to this size in pixels are drawn as lines of their own, and ellipse outlines up to it
// are kept as stamps.
constexpr int kOwnArcSize = 256;

// Bounds of the caches: a document's row numbers, and the few circle sizes of a drawing.
constexpr std::size_t kMaxCachedTexts = 16384;
constexpr std::size_t kMaxCachedOutlines = 512;

RasterOp rasterOp(const Pen& pen) { return pen.mode == PenMode::NotXor ? RasterOp::NotXor : RasterOp::Copy; }

QColor toQColor(Colour colour) {
  return QColor(static_cast<int>(redOf(colour)), static_cast<int>(greenOf(colour)), static_cast<int>(blueOf(colour)));
}

QRgb toQRgb(Colour colour) {
  return qRgb(static_cast<int>(redOf(colour)), static_cast<int>(greenOf(colour)), static_cast<int>(blueOf(colour)));
}

Colour fromQRgb(QRgb value) {
  return rgb(static_cast<unsigned>(qRed(value)), static_cast<unsigned>(qGreen(value)),
             static_cast<unsigned>(qBlue(value)));
}

Qt::PenStyle toQtPenStyle(PenStyle style) {
  switch (style) {
    case PenStyle::Solid:
      return Qt::SolidLine;
    case PenStyle::Dash:
      return Qt::DashLine;
    case PenStyle::Dot:
      return Qt::DotLine;
    case PenStyle::DashDot:
      return Qt::DashDotLine;
    case PenStyle::DashDotDot:
      return Qt::DashDotDotLine;
    case PenStyle::Clear:
      return Qt::NoPen;
  }
  return Qt::SolidLine;
}

QPen toQPen(const Pen& pen) {
  QPen result(toQColor(pen.colour));
  result.setStyle(toQtPenStyle(pen.style));
  if (pen.width > 1) {
    // Wide pens end and join round, as the GDI pens the drawings were made with.
    result.setWidth(pen.width);
    result.setCapStyle(Qt::RoundCap);
    result.setJoinStyle(Qt::RoundJoin);
  } else {
    // An aliased one-pixel line with flat caps stops before its end pixel, which is what lineTo
    // promises; the next lineTo then draws that pixel as its start.
    result.setWidth(1);
    result.setCapStyle(Qt::FlatCap);
    result.setJoinStyle(Qt::MiterJoin);
  }
  return result;
}

QBrush toQBrush(const Brush& brush) {
  switch (brush.style) {
    case BrushStyle::Solid:
      return QBrush(toQColor(brush.colour), Qt::SolidPattern);
    case BrushStyle::Clear:
      return QBrush(Qt::NoBrush);
    case BrushStyle::DiagCross:
      return QBrush(toQColor(brush.colour), Qt::DiagCrossPattern);
  }
  return QBrush(Qt::NoBrush);
}

// The pixels x1..x2-1, y1..y2-1 of a shape's box, whichever way round its corners are given.
QRect boxOf(int x1, int y1, int x2, int y2) {
  return QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1));
}

// The pixels left..right-1, top..bottom-1 of a Rect; empty when it is empty or inside out.
QRect toQRect(const Rect& rect) { return QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1)); }

// Qt strokes a shape on the right and below its mathematical outline, so a shape with an outline
// is drawn one pixel smaller to keep the outline inside the box; without an outline the fill
// alone covers the box.
QRect shapeRect(const QRect& box, const Pen& pen) {
  return pen.style == PenStyle::Clear ? box : box.adjusted(0, 0, -1, -1);
}

// Angle in degrees, counter-clockwise on the screen, of the point where the ray from the centre
// of `ellipse` toward (x, y) meets it. Qt measures arc angles on the ellipse's parameter, which
// equals the ray's angle only on a circle, so the ray is first scaled to the unit circle.
double arcAngle(const QRectF& ellipse, int x, int y) {
  const QPointF centre = ellipse.center();
  double dx = x - centre.x();
  double dy = centre.y() - y;
  if (ellipse.width() > 0 && ellipse.height() > 0) {
    dx /= ellipse.width() / 2;
    dy /= ellipse.height() / 2;
  }
  return std::atan2(dy, dx) * 180.0 / std::numbers::pi;
}

// Glyphs are drawn without smoothing too, so that text adds no blended colours to the bitmap.
QFont drawingFont(const Font& font) {
  QFont result = qtFontFor(font);
  result.setStyleStrategy(QFont::NoAntialias);
  return result;
}

QFontMetrics metricsOn(const QFont& font, const QImage& image) {
  // A null image has no resolution to measure on; the pixel-sized font does not need one.
  return image.isNull() ? QFontMetrics(font) : QFontMetrics(font, &image);
}

// Where the text is drawn with its box's top-left corner at `topLeft`.
QPoint baselineOf(QPoint topLeft, const QFontMetrics& metrics) { return topLeft + QPoint(0, metrics.ascent()); }

QImage readPixels(Canvas& from, const QRect& region) {
  QImage part(region.size(), QImage::Format_RGB32);
  if (part.isNull()) {
    return part;
  }
  for (int y = 0; y < region.height(); ++y) {
    for (int x = 0; x < region.width(); ++x) {
      part.setPixel(x, y, toQRgb(from.pixel(region.left() + x, region.top() + y)));
    }
  }
  return part;
}

}  // namespace

QtCanvas::QtCanvas(Size size) : qtFont_(drawingFont(font_)) { resize(size); }

void QtCanvas::resize(Size size) {
  // RGB32 rather than a format with alpha: the raster operations of NotXor need it.
  QImage fresh(std::max(0, size.width), std::max(0, size.height), QImage::Format_RGB32);
  fresh.fill(Qt::white);
  std::lock_guard lock(mutex_);
  closePainter();
  image_ = std::move(fresh);
  // Metrics are taken on the image, so a new image is measured anew.
  forgetFont();
}

QImage QtCanvas::image() const {
  std::lock_guard lock(mutex_);
  closePainter();
  // A deep copy: a shallow one would share the pixel buffer with the next painter on another
  // thread.
  return image_.copy();
}

void QtCanvas::setPen(const Pen& pen) {
  std::lock_guard lock(mutex_);
  pen_ = pen;
}

Pen QtCanvas::pen() const {
  std::lock_guard lock(mutex_);
  return pen_;
}

void QtCanvas::setBrush(const Brush& brush) {
  std::lock_guard lock(mutex_);
  brush_ = brush;
}

Brush QtCanvas::brush() const {
  std::lock_guard lock(mutex_);
  return brush_;
}

void QtCanvas::setFont(const Font& font) {
  {
    // Looking a face up in the font database takes far longer than drawing a row number, and
    // drawings set the same face again for every number with only its colour changed.
    std::lock_guard lock(mutex_);
    if (font.name == font_.name && font.size == font_.size && font.bold == font_.bold) {
      font_ = font;
      return;
    }
  }
  QFont resolved = drawingFont(font);
  std::lock_guard lock(mutex_);
  font_ = font;
  qtFont_ = std::move(resolved);
  forgetFont();
}

Font QtCanvas::font() const {
  std::lock_guard lock(mutex_);
  return font_;
}

void QtCanvas::moveTo(int x, int y) {
  std::lock_guard lock(mutex_);
  penPos_ = {x, y};
}

void QtCanvas::lineTo(int x, int y) {
  std::lock_guard lock(mutex_);
  if (pen_.width <= 1) {
    // Written straight into the pixels: Qt sets its line stroker up for every line, which costs
    // far more than the few pixels of the short lines that make up most of a drawing.
    rasterLine(pixels(), penPos_, {x, y}, toQRgb(pen_.colour), pen_.style, rasterOp(pen_));
  } else if (QPainter* painter = painterFor(true)) {
    painter->drawLine(QPoint(penPos_.x, penPos_.y), QPoint(x, y));
  }
  penPos_ = {x, y};
}

Point QtCanvas::penPos() const {
  std::lock_guard lock(mutex_);
  return penPos_;
}

void QtCanvas::rectangle(int x1, int y1, int x2, int y2) {
  std::lock_guard lock(mutex_);
  const QRect box = boxOf(x1, y1, x2, y2);
  QPainter* painter = box.isEmpty() ? nullptr : painterFor(true);
  if (painter == nullptr) {
    return;
  }
  if (pen_.style == PenStyle::Clear) {
    painter->fillRect(box, painter->brush());
    return;
  }
  // Qt would also fill under the outline's top and left edges; under NotXor those pixels would
  // be inverted twice, so the fill stays inside the outline.
  const int inset = std::max(1, (pen_.width + 1) / 2);
  const QRect inside = box.adjusted(inset, inset, -inset, -inset);
  if (inside.isValid()) {
    painter->fillRect(inside, painter->brush());
  }
  painter->setBrush(Qt::NoBrush);
  painterStateKnown_ = false;
  painter->drawRect(shapeRect(box, pen_));
}

void QtCanvas::roundRect(int x1, int y1, int x2, int y2, int ellipseWidth, int ellipseHeight) {
  std::lock_guard lock(mutex_);
  const QRect box = boxOf(x1, y1, x2, y2);
  QPainter* painter = box.isEmpty() ? nullptr : painterFor(true);
  if (painter == nullptr) {
    return;
  }
  painter->drawRoundedRect(shapeRect(box, pen_), ellipseWidth / 2.0, ellipseHeight / 2.0, Qt::AbsoluteSize);
}

void QtCanvas::fillRect(const Rect& rect) {
  std::lock_guard lock(mutex_);
  const QRect area = toQRect(rect);
  // A plain fill, like GDI's FillRect: the pen mode does not apply.
  QPainter* painter = area.isEmpty() ? nullptr : painterFor(false);
  if (painter == nullptr) {
    return;
  }
  painter->fillRect(area, painter->brush());
}

void QtCanvas::ellipse(int x1, int y1, int x2, int y2) {
  std::lock_guard lock(mutex_);
  const QRect box = boxOf(x1, y1, x2, y2);
  if (box.isEmpty() || image_.isNull()) {
    return;
  }
  const QRect shape = shapeRect(box, pen_);
  // The circles round the row numbers: a thin solid outline, nothing filled.
  if (brush_.style == BrushStyle::Clear && pen_.style == PenStyle::Solid && pen_.width <= 1 &&
      pen_.mode == PenMode::Copy) {
    if (const PixelStamp* outline = ellipseOutline(shape.size())) {
      outline->stampOnto(pixels(), {shape.left(), shape.top()}, toQRgb(pen_.colour));
      return;
    }
  }
  if (QPainter* painter = painterFor(true)) {
    painter->drawEllipse(shape);
  }
}

void QtCanvas::arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  std::lock_guard lock(mutex_);
  const QRect box = boxOf(x1, y1, x2, y2);
  if (box.isEmpty() || image_.isNull()) {
    return;
  }
  const QRect shape = shapeRect(box, pen_);
  const double start = arcAngle(QRectF(shape), x3, y3);
  double span = arcAngle(QRectF(shape), x4, y4) - start;
  // Counter-clockwise from start round to the end ray; rays that coincide give the whole ellipse.
  while (span <= 0) {
    span += 360;
  }
  if (pen_.width <= 1 && shape.width() <= kOwnArcSize && shape.height() <= kOwnArcSize) {
    // Small arcs, the corners and lead-ins of a drawing, as a chain of short lines: Qt builds and
    // strokes a curve for every arc, which costs many times as much.
    rasterArc(pixels(), shape.left() + shape.width() / 2.0, shape.top() + shape.height() / 2.0, shape.width() / 2.0,
              shape.height() / 2.0, start, span, toQRgb(pen_.colour), pen_.style, rasterOp(pen_));
    return;
  }
  if (QPainter* painter = painterFor(true)) {
    painter->drawArc(shape, saturatingRound(start * 16), saturatingRound(span * 16));
  }
}

void QtCanvas::polygon(const std::vector<Point>& points) {
  std::lock_guard lock(mutex_);
  if (points.empty() || image_.isNull()) {
    return;
  }
  if (pen_.width <= 1 && brush_.style != BrushStyle::DiagCross) {
    // The arrow heads of the tool paths, thousands of them, filled and outlined directly.
    const PixelBuffer buffer = pixels();
    const RasterOp op = rasterOp(pen_);
    if (brush_.style == BrushStyle::Solid) rasterFillPolygon(buffer, points, toQRgb(brush_.colour), op);
    for (std::size_t i = 0; i < points.size(); ++i) {
      rasterLine(buffer, points[i], points[(i + 1) % points.size()], toQRgb(pen_.colour), pen_.style, op);
    }
    return;
  }
  QPolygon corners;
  corners.reserve(static_cast<qsizetype>(points.size()));
  for (const Point& point : points) {
    corners << QPoint(point.x, point.y);
  }
  if (QPainter* painter = painterFor(true)) {
    painter->drawPolygon(corners);
  }
}

void QtCanvas::textOut(int x, int y, const std::string& text) {
  std::lock_guard lock(mutex_);
  // Text and its background ignore the pen mode: NotXor is for rubber-band outlines, not labels.
  QPainter* painter = painterFor(false);
  if (painter == nullptr) {
    return;
  }
  CachedText& cached = cachedText(text);
  const QFontMetrics& fontMetrics = metrics();
  if (brush_.style != BrushStyle::Clear) {
    painter->fillRect(QRect(x, y, cached.width, fontMetrics.height()), painter->brush());
  }
  const QString string = QString::fromStdString(text);
  if (!cached.captured) {
    // Glyphs may reach a little beyond the text's box on every side; a margin of half a line
    // holds them, and capture() refuses a drawing that reaches its border.
    const int margin = std::max(4, fontMetrics.height() / 2);
    const QRect area(-margin, -margin, cached.width + 2 * margin, fontMetrics.height() + 2 * margin);
    const QFont& font = qtFont_;
    cached.glyphs = PixelStamp::capture(area, [&](QPainter& scratch, QPoint topLeft) {
      scratch.setFont(font);
      scratch.setPen(QColor(Qt::black));
      scratch.drawText(baselineOf(topLeft, fontMetrics), string);
    });
    cached.captured = true;
  }
  if (cached.glyphs) {
    cached.glyphs->stampOnto(pixels(), {x, y}, toQRgb(font_.colour));
    return;
  }
  painter->setFont(qtFont_);
  painter->setPen(toQColor(font_.colour));
  painterStateKnown_ = false;
  painter->drawText(baselineOf(QPoint(x, y), fontMetrics), string);
}

Size QtCanvas::textExtent(const std::string& text) {
  std::lock_guard lock(mutex_);
  return {cachedText(text).width, metrics().height()};
}

void QtCanvas::setPixel(int x, int y, Colour colour) {
  std::lock_guard lock(mutex_);
  closePainter();
  if (image_.valid(x, y)) {
    image_.setPixel(x, y, toQRgb(colour));
  }
}

Colour QtCanvas::pixel(int x, int y) {
  std::lock_guard lock(mutex_);
  closePainter();
  return image_.valid(x, y) ? fromQRgb(image_.pixel(x, y)) : kNoColour;
}

void QtCanvas::copyRect(const Rect& dest, Canvas& from, const Rect& source) {
  const QRect target = toQRect(dest);
  const QRect region = toQRect(source);
  if (target.isEmpty() || region.isEmpty()) {
    return;
  }
  QImage part;
  if (&from != this) {
    // The source is read under its own lock before ours is taken: no thread ever holds two
    // canvas locks, so canvases copying from each other cannot deadlock.
    if (const auto* qtSource = dynamic_cast<const QtCanvas*>(&from)) {
      part = qtSource->copyOf(region);
    } else {
      part = readPixels(from, region);
    }
  }
  std::lock_guard lock(mutex_);
  if (&from == this) {
    // Copied out first, so that overlapping source and destination do not smear.
    closePainter();
    part = image_.copy(region);
  }
  QPainter* painter = painterFor(false);
  if (painter == nullptr) {
    return;
  }
  painter->setCompositionMode(QPainter::CompositionMode_Source);
  painterStateKnown_ = false;
  painter->drawImage(target, part);
}

Size QtCanvas::size() const {
  std::lock_guard lock(mutex_);
  return {image_.width(), image_.height()};
}

PixelBuffer QtCanvas::pixels() {
  if (image_.isNull()) return {};
  // The painter draws into the same memory at once, so its pixels and these never wait on each
  // other; bits() does not copy, the image is never shared (image() hands out deep copies).
  return PixelBuffer{reinterpret_cast<std::uint32_t*>(image_.bits()), image_.width(), image_.height(),
                     image_.bytesPerLine() / static_cast<qsizetype>(sizeof(std::uint32_t))};
}

QPainter* QtCanvas::painterFor(bool usePenMode) {
  if (image_.isNull()) {
    return nullptr;
  }
  if (!painter_.isActive()) {
    if (!painter_.begin(&image_)) {
      return nullptr;
    }
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painterStateKnown_ = false;
  }
  // Only what changed is set again: setting a pen is a good part of the cost of a short line.
  const bool notXor = usePenMode && pen_.mode == PenMode::NotXor;
  if (!painterStateKnown_ || notXor != painterNotXor_) {
    painter_.setCompositionMode(notXor ? QPainter::RasterOp_NotSourceXorDestination
                                       : QPainter::CompositionMode_SourceOver);
    painterNotXor_ = notXor;
  }
  if (!painterStateKnown_ || pen_ != painterPen_) {
    painter_.setPen(toQPen(pen_));
    painterPen_ = pen_;
  }
  if (!painterStateKnown_ || brush_ != painterBrush_) {
    painter_.setBrush(toQBrush(brush_));
    painterBrush_ = brush_;
  }
  painterStateKnown_ = true;
  return &painter_;
}

void QtCanvas::closePainter() const {
  if (painter_.isActive()) {
    painter_.end();
  }
}

QImage QtCanvas::copyOf(const QRect& region) const {
  std::lock_guard lock(mutex_);
  closePainter();
  return image_.copy(region);
}

const QFontMetrics& QtCanvas::metrics() {
  if (!metrics_) metrics_.emplace(metricsOn(qtFont_, image_));
  return *metrics_;
}

QtCanvas::CachedText& QtCanvas::cachedText(const std::string& text) {
  // A text is mostly measured and then drawn at once: the second look-up needs no search.
  if (lastText_ != nullptr && lastText_->first == text) return lastText_->second;
  auto found = texts_.find(text);
  if (found == texts_.end()) {
    if (texts_.size() >= kMaxCachedTexts) texts_.clear();
    CachedText entry;
    entry.width = metrics().horizontalAdvance(QString::fromStdString(text));
    found = texts_.emplace(text, std::move(entry)).first;
  }
  lastText_ = &*found;
  return found->second;
}

const PixelStamp* QtCanvas::ellipseOutline(QSize size) {
  if (size.width() > kOwnArcSize || size.height() > kOwnArcSize) return nullptr;
  const std::pair key{size.width(), size.height()};
  auto found = ellipseOutlines_.find(key);
  if (found == ellipseOutlines_.end()) {
    if (ellipseOutlines_.size() >= kMaxCachedOutlines) ellipseOutlines_.clear();
    // The outline of a one-pixel pen covers the shape's box and one more pixel right and below.
    const QRect area(-2, -2, size.width() + 5, size.height() + 5);
    const QPen pen = toQPen(Pen{});
    found = ellipseOutlines_
                .emplace(key, PixelStamp::capture(area,
                                                  [&](QPainter& scratch, QPoint topLeft) {
                                                    scratch.setPen(pen);
                                                    scratch.setBrush(Qt::NoBrush);
                                                    scratch.drawEllipse(QRect(topLeft, size));
                                                  }))
                .first;
  }
  return found->second ? &*found->second : nullptr;
}

void QtCanvas::forgetFont() {
  metrics_.reset();
  texts_.clear();
  lastText_ = nullptr;
}

}  // namespace platform
