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

// The colour of a widget's area (a button's area, a check box's too, is its Button colour).
inline void hintergrund(QWidget* w, int bgr) {
  QPalette pal = w->palette();
  pal.setColor(w->backgroundRole(), farbe(bgr));
  w->setPalette(pal);
  w->setAutoFillBackground(true);
}

// The colour of the texts a widget draws on its area: labels, the captions of check boxes and
// radio buttons, group titles. Edits, lists and the marks of check boxes and radio buttons keep
// the theme's text colour on the theme's base, so that they stay readable on any theme.
inline void schrift(QWidget* w, int bgr) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::WindowText, farbe(bgr));
  w->setPalette(pal);
}

inline QString qs(const std::string& text) { return QString::fromStdString(text); }

}  // namespace machineqt
