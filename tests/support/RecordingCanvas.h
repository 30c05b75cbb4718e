// Canvas double for tests: keeps the pen, brush and font state like a real surface and records
// every drawing call with the state it was drawn in.
//
// Thread context: one thread at a time, like any canvas. Text extents are a fixed function of
// the font size and the number of characters, so layouts are reproducible.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/Canvas.h"

namespace testsupport {

struct CanvasOp {
  enum class Kind {
    SetPen,
    SetBrush,
    SetFont,
    MoveTo,
    LineTo,
    Rectangle,
    RoundRect,
    FillRect,
    Ellipse,
    Arc,
    Polygon,
    TextOut,
    SetPixel,
    CopyRect
  };
  Kind kind = Kind::MoveTo;
  std::vector<int> args;                // coordinates in call order
  std::vector<platform::Point> points;  // polygon points
  std::string text;
  platform::Pen pen;  // state in force when the call was made
  platform::Brush brush;
  platform::Font font;
  platform::Point from;  // pen position before a LineTo
};

class RecordingCanvas final : public platform::Canvas {
 public:
  explicit RecordingCanvas(platform::Size size = {800, 600}) : size_(size) {}

  void setPen(const platform::Pen& pen) override;
  platform::Pen pen() const override { return pen_; }
  void setBrush(const platform::Brush& brush) override;
  platform::Brush brush() const override { return brush_; }
  void setFont(const platform::Font& font) override;
  platform::Font font() const override { return font_; }

  void moveTo(int x, int y) override;
  void lineTo(int x, int y) override;
  platform::Point penPos() const override { return pos_; }

  void rectangle(int x1, int y1, int x2, int y2) override;
  void roundRect(int x1, int y1, int x2, int y2, int ellipseWidth, int ellipseHeight) override;
  void fillRect(const platform::Rect& rect) override;
  void ellipse(int x1, int y1, int x2, int y2) override;
  void arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void polygon(const std::vector<platform::Point>& points) override;

  void textOut(int x, int y, const std::string& text) override;
  platform::Size textExtent(const std::string& text) override;

  void setPixel(int x, int y, platform::Colour colour) override;
  platform::Colour pixel(int x, int y) override;

  void copyRect(const platform::Rect& dest, platform::Canvas& from, const platform::Rect& source) override;
  platform::Size size() const override { return size_; }

  const std::vector<CanvasOp>& ops() const { return ops_; }
  // The recorded calls of one kind, in order.
  std::vector<CanvasOp> opsOf(CanvasOp::Kind kind) const;
  void clear() { ops_.clear(); }

 private:
  CanvasOp make(CanvasOp::Kind kind, std::vector<int> args) const;

  platform::Size size_;
  platform::Pen pen_;
  platform::Brush brush_;
  platform::Font font_;
  platform::Point pos_;
  std::map<std::pair<int, int>, platform::Colour> pixels_;
  std::vector<CanvasOp> ops_;
};

}  // namespace testsupport
