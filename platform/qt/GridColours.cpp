// One palette for all colour groups, so that neither focus nor a disabled grid changes it.
#include "GridColours.h"

#include <QPalette>

namespace platform {

void setGridColours(QAbstractItemView* grid, const QColor& cells) {
  QPalette palette = grid->palette();
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, QPalette::Base, cells);
    palette.setColor(group, QPalette::AlternateBase, cells);
    palette.setColor(group, QPalette::Text, kGridWindowText);
    palette.setColor(group, QPalette::Window, kGridButtonFace);
    palette.setColor(group, QPalette::WindowText, kGridWindowText);
    palette.setColor(group, QPalette::Button, kGridButtonFace);
    palette.setColor(group, QPalette::ButtonText, kGridWindowText);
    palette.setColor(group, QPalette::Light, kGridWindow);
    palette.setColor(group, QPalette::Midlight, QColor(227, 227, 227));
    palette.setColor(group, QPalette::Mid, QColor(160, 160, 160));
    palette.setColor(group, QPalette::Dark, QColor(160, 160, 160));
    palette.setColor(group, QPalette::Shadow, QColor(105, 105, 105));
    palette.setColor(group, QPalette::Highlight, kGridHighlight);
    palette.setColor(group, QPalette::HighlightedText, kGridHighlightText);
    palette.setColor(group, QPalette::PlaceholderText, QColor(109, 109, 109));
  }
  grid->setPalette(palette);
}

}  // namespace platform
