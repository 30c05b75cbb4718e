// The paint box of the main window: shows the drawing bitmap at (0, 0) and reports its size.
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

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  platform::QtCanvas& canvas_;
  std::function<void()> onResize_;
};

}  // namespace appqt
