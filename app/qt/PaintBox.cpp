// Copying the drawing bitmap to the screen.
#include "PaintBox.h"

#include <QPaintEvent>
#include <QPainter>

namespace appqt {

PaintBox::PaintBox(platform::QtCanvas& canvas, QWidget* parent) : QWidget(parent), canvas_(canvas) {
  setObjectName(QStringLiteral("PaintBox"));
  // The bitmap covers the box; Qt need not clear it first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PaintBox::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), palette().window());
  painter.drawImage(0, 0, canvas_.image());
}

void PaintBox::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (onResize_) onResize_();
}

}  // namespace appqt
