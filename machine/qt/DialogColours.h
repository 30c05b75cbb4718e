// Colours of the machine dialogs' models (0xBBGGRR, as the models keep them) on Qt widgets.
//
// Thread context: GUI thread; nothing blocks.
#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>
#include <string>

namespace machineqt {

inline QColor farbe(int bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

inline void hintergrund(QWidget* w, int bgr) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, farbe(bgr));
  w->setPalette(pal);
  w->setAutoFillBackground(true);
}

inline void schrift(QWidget* w, int bgr) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::WindowText, farbe(bgr));
  pal.setColor(QPalette::Text, farbe(bgr));
  w->setPalette(pal);
}

inline QString qs(const std::string& text) { return QString::fromStdString(text); }

}  // namespace machineqt
