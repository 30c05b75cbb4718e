// The drawing surface that the panel drawing, the format modules and the dialogs paint on:
// pen, brush and font state, lines from the pen position, shapes, text and pixels, all in
// integer device pixels with y growing downward.
//
// Thread context: a canvas is used by one thread at a time; an implementation that is shared
// between a drawing worker and the GUI thread locks around each call itself. Calls do not block.
// Ownership: the caller owns the canvas; copyRect only reads the source during the call.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Colour as 0x00BBGGRR (red in the low byte), the form the palette values are given in.
using Colour = std::uint32_t;

constexpr Colour rgb(unsigned r, unsigned g, unsigned b) { return (b & 0xFF) << 16 | (g & 0xFF) << 8 | (r & 0xFF); }
constexpr unsigned redOf(Colour c) { return c & 0xFF; }
constexpr unsigned greenOf(Colour c) { return (c >> 8) & 0xFF; }
constexpr unsigned blueOf(Colour c) { return (c >> 16) & 0xFF; }

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Clear };
enum class PenMode { Copy, NotXor };
enum class BrushStyle { Solid, Clear, DiagCross };

struct Pen {
  Colour colour = 0x000000;
  int width = 1;
  PenStyle style = PenStyle::Solid;
  PenMode mode = PenMode::Copy;
  bool operator==(const Pen&) const = default;
};

struct Brush {
  Colour colour = 0xFFFFFF;
  BrushStyle style = BrushStyle::Solid;
  bool operator==(const Brush&) const = default;
};

struct Font {
  std::string name = "Arial";
  int size = 8;  // points
  Colour colour = 0x000000;
  bool bold = false;
  bool operator==(const Font&) const = default;
};

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const Rect&) const = default;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual void setPen(const Pen& pen) = 0;
  virtual Pen pen() const = 0;
  virtual void setBrush(const Brush& brush) = 0;
  virtual Brush brush() const = 0;
  virtual void setFont(const Font& font) = 0;
  virtual Font font() const = 0;

  virtual void moveTo(int x, int y) = 0;
  // Line from the pen position to (x, y), the end point itself not drawn; the pen moves there.
  virtual void lineTo(int x, int y) = 0;
  virtual Point penPos() const = 0;

  // Outline in the pen, inside filled with the brush; right and bottom are exclusive.
  virtual void rectangle(int x1, int y1, int x2, int y2) = 0;
  virtual void roundRect(int x1, int y1, int x2, int y2, int ellipseWidth, int ellipseHeight) = 0;
  // Fills with the brush only, no outline.
  virtual void fillRect(const Rect& rect) = 0;
  // Ellipse inscribed in the box.
  virtual void ellipse(int x1, int y1, int x2, int y2) = 0;
  // Arc of the ellipse in the box, counter-clockwise from the ray towards (x3, y3) to the ray
  // towards (x4, y4), in the pen; the pen position does not change.
  virtual void arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
  // Closed polygon, outlined in the pen and filled with the brush.
  virtual void polygon(const std::vector<Point>& points) = 0;

  // Text with its top-left corner at (x, y), in the font, on the brush (clear brush: no background).
  virtual void textOut(int x, int y, const std::string& text) = 0;
  virtual Size textExtent(const std::string& text) = 0;

  virtual void setPixel(int x, int y, Colour colour) = 0;
  virtual Colour pixel(int x, int y) = 0;

  // Copies `source` region of `from` into `dest` region of this canvas (scaled if sizes differ).
  virtual void copyRect(const Rect& dest, Canvas& from, const Rect& source) = 0;

  // Size of the surface in pixels.
  virtual Size size() const = 0;
};

}  // namespace platform
