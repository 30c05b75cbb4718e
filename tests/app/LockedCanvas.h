// A recording canvas that locks each call, as the main window's bitmap must: the run worker
// draws the cut while the GUI thread may redraw.
//
// Thread context: any thread; every call holds the one mutex.
#pragma once

#include <mutex>

#include "support/RecordingCanvas.h"

namespace apptest {

class LockedCanvas final : public platform::Canvas {
 public:
  using Lock = std::lock_guard<std::mutex>;

  void setPen(const platform::Pen& pen) override {
    Lock l(m_);
    c_.setPen(pen);
  }
  platform::Pen pen() const override {
    Lock l(m_);
    return c_.pen();
  }
  void setBrush(const platform::Brush& brush) override {
    Lock l(m_);
    c_.setBrush(brush);
  }
  platform::Brush brush() const override {
    Lock l(m_);
    return c_.brush();
  }
  void setFont(const platform::Font& font) override {
    Lock l(m_);
    c_.setFont(font);
  }
  platform::Font font() const override {
    Lock l(m_);
    return c_.font();
  }
  void moveTo(int x, int y) override {
    Lock l(m_);
    c_.moveTo(x, y);
  }
  void lineTo(int x, int y) override {
    Lock l(m_);
    c_.lineTo(x, y);
  }
  platform::Point penPos() const override {
    Lock l(m_);
    return c_.penPos();
  }
  void rectangle(int x1, int y1, int x2, int y2) override {
    Lock l(m_);
    c_.rectangle(x1, y1, x2, y2);
  }
  void roundRect(int x1, int y1, int x2, int y2, int w, int h) override {
    Lock l(m_);
    c_.roundRect(x1, y1, x2, y2, w, h);
  }
  void fillRect(const platform::Rect& rect) override {
    Lock l(m_);
    c_.fillRect(rect);
  }
  void ellipse(int x1, int y1, int x2, int y2) override {
    Lock l(m_);
    c_.ellipse(x1, y1, x2, y2);
  }
  void arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override {
    Lock l(m_);
    c_.arc(x1, y1, x2, y2, x3, y3, x4, y4);
  }
  void polygon(const std::vector<platform::Point>& points) override {
    Lock l(m_);
    c_.polygon(points);
  }
  void textOut(int x, int y, const std::string& text) override {
    Lock l(m_);
    c_.textOut(x, y, text);
  }
  platform::Size textExtent(const std::string& text) override {
    Lock l(m_);
    return c_.textExtent(text);
  }
  void setPixel(int x, int y, platform::Colour colour) override {
    Lock l(m_);
    c_.setPixel(x, y, colour);
  }
  platform::Colour pixel(int x, int y) override {
    Lock l(m_);
    return c_.pixel(x, y);
  }
  void copyRect(const platform::Rect& dest, platform::Canvas& from, const platform::Rect& source) override {
    Lock l(m_);
    c_.copyRect(dest, from, source);
  }
  platform::Size size() const override {
    Lock l(m_);
    return c_.size();
  }

 private:
  mutable std::mutex m_;
  testsupport::RecordingCanvas c_;
};

}  // namespace apptest
