// The about dialog's picture and its timer.
#include "InfoDialog.h"

namespace app {

namespace {

constexpr platform::Colour kSchwarz = 0x000000;
constexpr platform::Colour kWeiss = 0xFFFFFF;

// Distance of the marks from the side edges and from the top and bottom edges.
constexpr int kMarkeRandX = 40;
constexpr int kMarkeRandY = 15;

struct Zeile {
  const std::string TInfoDlg::*text;
  int y;
  int size;
  bool bold;
};

// Tops and font sizes of the three lines.
constexpr Zeile kZeilen[] = {
    {&TInfoDlg::Produktzeile, 150, 28, true},
    {&TInfoDlg::Versionszeile, 230, 12, false},
    {&TInfoDlg::Datumszeile, 262, 10, false},
};

}  // namespace

std::string Versionstext() { return std::string("Version ") + VELTRIS_VERSION; }

void TInfoDlg::OnActivate(platform::Canvas& bitmap, platform::Colour buttonFace) {
  InfoZeichnen(bitmap, buttonFace);
  Geschlossen = false;
  TimerInterval = kAnzeigeMs;
  TimerEnabled = true;
}

void TInfoDlg::TimerOnTimer() {
  TimerEnabled = false;
  Geschlossen = true;
}

void TInfoDlg::InfoZeichnen(platform::Canvas& bitmap, platform::Colour buttonFace) const {
  const platform::Font font = bitmap.font();
  const platform::Size size = bitmap.size();

  bitmap.setBrush(platform::Brush{buttonFace, platform::BrushStyle::Solid});
  bitmap.fillRect(platform::Rect{0, 0, size.width, size.height});
  bitmap.setPen(platform::Pen{kSchwarz, 1, platform::PenStyle::Solid, platform::PenMode::Copy});
  bitmap.rectangle(3, 3, size.width - 3, size.height - 3);

  MarkeZeichnen(bitmap, kMarkeRandX, kMarkeRandY);
  MarkeZeichnen(bitmap, size.width - kMarkeRandX, kMarkeRandY);
  MarkeZeichnen(bitmap, kMarkeRandX, size.height - kMarkeRandY);
  MarkeZeichnen(bitmap, size.width - kMarkeRandX, size.height - kMarkeRandY);

  // The lines stand on the card, without a background of their own.
  bitmap.setBrush(platform::Brush{buttonFace, platform::BrushStyle::Clear});
  for (const Zeile& zeile : kZeilen) {
    platform::Font lineFont = font;
    lineFont.size = zeile.size;
    lineFont.bold = zeile.bold;
    lineFont.colour = kSchwarz;
    bitmap.setFont(lineFont);
    const std::string& text = this->*zeile.text;
    const int left = size.width / 2 - bitmap.textExtent(text).width / 2;
    bitmap.textOut(left, zeile.y, text);
  }
  bitmap.setFont(font);
  bitmap.setBrush(platform::Brush{buttonFace, platform::BrushStyle::Solid});
}

void TInfoDlg::MarkeZeichnen(platform::Canvas& canvas, int x, int y) {
  const platform::Brush brush = canvas.brush();
  canvas.setBrush(platform::Brush{kWeiss, platform::BrushStyle::Solid});
  canvas.setPen(platform::Pen{kSchwarz, 1, platform::PenStyle::Solid, platform::PenMode::Copy});
  canvas.roundRect(x - 10, y - 5, x + 10, y + 5, 10, 5);
  canvas.setBrush(brush);
}

}  // namespace app
