// Recording of canvas calls with the state they were made in.
#include "RecordingCanvas.h"

#include <algorithm>

namespace testsupport {

using Kind = CanvasOp::Kind;

CanvasOp RecordingCanvas::make(Kind kind, std::vector<int> args) const {
  CanvasOp op;
  op.kind = kind;
  op.args = std::move(args);
  op.pen = pen_;
  op.brush = brush_;
  op.font = font_;
  op.from = pos_;
  return op;
}

void RecordingCanvas::setPen(const platform::Pen& pen) {
  pen_ = pen;
  ops_.push_back(make(Kind::SetPen, {}));
}

void RecordingCanvas::setBrush(const platform::Brush& brush) {
  brush_ = brush;
  ops_.push_back(make(Kind::SetBrush, {}));
}

void RecordingCanvas::setFont(const platform::Font& font) {
  font_ = font;
  ops_.push_back(make(Kind::SetFont, {}));
}

void RecordingCanvas::moveTo(int x, int y) {
  ops_.push_back(make(Kind::MoveTo, {x, y}));
  pos_ = {x, y};
}

void RecordingCanvas::lineTo(int x, int y) {
  ops_.push_back(make(Kind::LineTo, {x, y}));
  pos_ = {x, y};
}

void RecordingCanvas::rectangle(int x1, int y1, int x2, int y2) {
  ops_.push_back(make(Kind::Rectangle, {x1, y1, x2, y2}));
}

void RecordingCanvas::roundRect(int x1, int y1, int x2, int y2, int ellipseWidth, int ellipseHeight) {
  ops_.push_back(make(Kind::RoundRect, {x1, y1, x2, y2, ellipseWidth, ellipseHeight}));
}

void RecordingCanvas::fillRect(const platform::Rect& r) {
  ops_.push_back(make(Kind::FillRect, {r.left, r.top, r.right, r.bottom}));
}

void RecordingCanvas::ellipse(int x1, int y1, int x2, int y2) { ops_.push_back(make(Kind::Ellipse, {x1, y1, x2, y2})); }

void RecordingCanvas::arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  ops_.push_back(make(Kind::Arc, {x1, y1, x2, y2, x3, y3, x4, y4}));
}

void RecordingCanvas::polygon(const std::vector<platform::Point>& points) {
  CanvasOp op = make(Kind::Polygon, {});
  op.points = points;
  ops_.push_back(op);
}

void RecordingCanvas::textOut(int x, int y, const std::string& text) {
  CanvasOp op = make(Kind::TextOut, {x, y});
  op.text = text;
  ops_.push_back(op);
}

platform::Size RecordingCanvas::textExtent(const std::string& text) {
  const int size = std::max(1, font_.size);
  return {static_cast<int>(text.size()) * std::max(1, size * 3 / 4), std::max(1, size * 3 / 2)};
}

void RecordingCanvas::setPixel(int x, int y, platform::Colour colour) {
  ops_.push_back(make(Kind::SetPixel, {x, y, static_cast<int>(colour)}));
  pixels_[{x, y}] = colour;
}

platform::Colour RecordingCanvas::pixel(int x, int y) {
  auto it = pixels_.find({x, y});
  return it == pixels_.end() ? 0xFFFFFF : it->second;
}

void RecordingCanvas::copyRect(const platform::Rect& dest, platform::Canvas&, const platform::Rect& source) {
  ops_.push_back(make(Kind::CopyRect, {dest.left, dest.top, dest.right, dest.bottom, source.left, source.top,
                                       source.right, source.bottom}));
}

std::vector<CanvasOp> RecordingCanvas::opsOf(Kind kind) const {
  std::vector<CanvasOp> out;
  std::copy_if(ops_.begin(), ops_.end(), std::back_inserter(out),
               [kind](const CanvasOp& op) { return op.kind == kind; });
  return out;
}

}  // namespace testsupport
