// Copying the drawing bitmap to the screen.
#include "PaintBox.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace appqt {

PaintBox::PaintBox(platform::QtCanvas& canvas, QWidget* parent) : QWidget(parent), canvas_(canvas) {
  setObjectName(QStringLiteral("PaintBox"));
  // The bitmap covers the box; Qt need not clear it first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  // Moves without a button show the handle under the pointer.
  setMouseTracking(true);
  // A click takes the focus, so an edit that was open is left (and taken over) first.
  setFocusPolicy(Qt::ClickFocus);
}

void PaintBox::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), palette().window());
  painter.drawImage(0, 0, canvas_.image());
}

void PaintBox::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (mouse_.press) mouse_.press(event->button(), at.x(), at.y());
}

void PaintBox::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (mouse_.move) mouse_.move(at.x(), at.y());
}

void PaintBox::mouseReleaseEvent(QMouseEvent* event) {
  if (mouse_.release) mouse_.release(event->button());
}

void PaintBox::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (onResize_) onResize_();
}

}  // namespace appqt
