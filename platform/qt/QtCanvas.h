// The drawing surface on an off-screen QImage, the bitmap the window copies to the screen.
//
// Thread context: any thread, after the QGuiApplication exists (fonts need it). A drawing worker
// and the GUI thread may use one canvas at the same time: every Canvas call, resize() and image()
// take the canvas's one mutex, so each call runs whole before the next one starts and a call
// blocks only while another call on the same canvas runs. copyRect() never holds the locks of two
// canvases at once, so two canvases copying from each other cannot deadlock.
// Ownership: the canvas owns its image; image() returns an independent copy.
//
// Drawing is aliased, text included, so every pixel is one of the drawing's colours. A line of
// width 1 leaves out its end pixel as the Canvas contract asks; wider lines have round ends and
// joins and so cover their end point. A text and a circle outline that recur are drawn from the
// pixels Qt set the first time (see PixelStamp): the same pixels, without laying them out again.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/Canvas.h"
#include "platform/PixelRaster.h"
#include "platform/qt/PixelStamp.h"

class QRect;

namespace platform {

class QtCanvas final : public Canvas {
 public:
  // What pixel() answers for a point outside the surface; no 0x00BBGGRR colour has it.
  static constexpr Colour kNoColour = 0xFFFFFFFF;

  // A white surface of `size` with the default pen, brush and font. A size with an extent of 0 or
  // less gives a surface without pixels, of size 0 x 0, on which drawing does nothing.
  explicit QtCanvas(Size size);

  // Replaces the image by a white one of `size` (as above); pen, brush, font and pen position stay.
  void resize(Size size);
  // A copy of the whole image, for a paint event to draw from without holding the lock.
  QImage image() const;

  void setPen(const Pen& pen) override;
  Pen pen() const override;
  void setBrush(const Brush& brush) override;
  Brush brush() const override;
  void setFont(const Font& font) override;
  Font font() const override;

  void moveTo(int x, int y) override;
  void lineTo(int x, int y) override;
  Point penPos() const override;

  void rectangle(int x1, int y1, int x2, int y2) override;
  void roundRect(int x1, int y1, int x2, int y2, int ellipseWidth, int ellipseHeight) override;
  void fillRect(const Rect& rect) override;
  void ellipse(int x1, int y1, int x2, int y2) override;
  void arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void polygon(const std::vector<Point>& points) override;

  void textOut(int x, int y, const std::string& text) override;
  Size textExtent(const std::string& text) override;

  // Outside the surface setPixel does nothing and pixel answers kNoColour.
  void setPixel(int x, int y, Colour colour) override;
  Colour pixel(int x, int y) override;

  void copyRect(const Rect& dest, Canvas& from, const Rect& source) override;

  Size size() const override;

 private:
  // Callers hold mutex_. The painter on the image with the canvas's pen, brush and (for
  // `usePenMode`) raster operation; null when there is no image to paint on.
  QPainter* painterFor(bool usePenMode);
  // Callers hold mutex_. The image's pixels for drawing into directly; empty without an image.
  PixelBuffer pixels();
  // Callers hold mutex_. Closes the painter, before the image is read, copied or replaced.
  void closePainter() const;
  // The region of the image, taken under this canvas's lock.
  QImage copyOf(const QRect& region) const;

  // What Qt works out for a text in the current font: its width, and its glyphs' pixels once
  // it has been drawn.
  struct CachedText {
    int width = 0;
    bool captured = false;
    // Empty when the glyphs are not a stamp (see PixelStamp::capture): Qt draws them each time.
    std::optional<PixelStamp> glyphs;
  };
  // Callers hold mutex_. The metrics of the current font, measured on the image.
  const QFontMetrics& metrics();
  // Callers hold mutex_. The entry of `text` in the current font.
  CachedText& cachedText(const std::string& text);
  // Callers hold mutex_. The outline of a solid one-pixel pen round an ellipse of `size`, or
  // null when Qt must draw it.
  const PixelStamp* ellipseOutline(QSize size);
  // Callers hold mutex_. Forgets what was measured and captured in the current font.
  void forgetFont();

  mutable std::mutex mutex_;
  QImage image_;
  Pen pen_;
  Brush brush_;
  Font font_;
  QFont qtFont_;
  Point penPos_;
  // Row numbers and ruler labels recur at every redraw, in one font: measuring and shaping them
  // costs many times what setting their pixels does. Both caches are bounded and are emptied
  // when full; the texts also when the font changes. Colours are applied when drawing.
  std::optional<QFontMetrics> metrics_;
  std::unordered_map<std::string, CachedText> texts_;
  // The entry looked up last; null after texts_ was emptied.
  std::unordered_map<std::string, CachedText>::value_type* lastText_ = nullptr;
  std::map<std::pair<int, int>, std::optional<PixelStamp>> ellipseOutlines_;
  // The painter stays open on image_ from one call to the next: opening a painter costs more
  // than drawing a short line, and a panel redraw draws a hundred thousand of them. Declared
  // after image_, so it is closed before the image goes.
  mutable QPainter painter_;
  // What the open painter was last given; not known after a call that set its own.
  bool painterStateKnown_ = false;
  bool painterNotXor_ = false;
  Pen painterPen_;
  Brush painterBrush_;
};

}  // namespace platform
