// The paint box of the main window: shows the drawing bitmap at (0, 0), reports its size, and
// passes the mouse on in bitmap pixels (moves also without a button held).
//
// Thread context: GUI thread. The canvas is not owned; it locks itself, and the paint event
// draws from a copy of its image.
#pragma once

#include <QWidget>
#include <functional>

#include "platform/qt/QtCanvas.h"

namespace appqt {

class PaintBox final : public QWidget {
 public:
  PaintBox(platform::QtCanvas& canvas, QWidget* parent = nullptr);

  // Called after every change of the widget's size.
  void setOnResize(std::function<void()> onResize) { onResize_ = std::move(onResize); }

  struct MouseHandlers {
    std::function<void(Qt::MouseButton button, int x, int y)> press;
    std::function<void(int x, int y)> move;
    std::function<void(Qt::MouseButton button)> release;
  };
  void setMouseHandlers(MouseHandlers handlers) { mouse_ = std::move(handlers); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  platform::QtCanvas& canvas_;
  std::function<void()> onResize_;
  MouseHandlers mouse_;
};

}  // namespace appqt
