// Text layout. Arc strokes are sampled at every whole degree from their start angle, the last
// point exactly on the end angle; each sample is counted from the start with an integer, so the
// samples never drift.
#include "TextLayout.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "platform/TextCodec.h"

namespace panel {

namespace {

constexpr double kEinheitenProHoehe = 9.0;      // cap height of the built-in fonts in font units
constexpr double kScriptcEinheiten = 27.0 / 5;  // and of "scriptc.cxf"
constexpr double kBuchstabenAbstand = 0.25;     // of the height
constexpr double kWortAbstand = 0.4;            // of the height, unless the header says otherwise
constexpr double kScriptcWortAbstand = 0.6;     // of the height

MmPoint degreesOn(double cx, double cy, double r, double degrees) {
  const double a = degrees * std::numbers::pi / 180.0;
  return {cx + r * std::cos(a), cy + r * std::sin(a)};
}

}  // namespace

TextMetrik textMetrik(const StrokeFont* font, std::string_view schriftname, double hoehe) {
  TextMetrik m{hoehe / kEinheitenProHoehe, kBuchstabenAbstand * hoehe, kWortAbstand * hoehe};
  if (font != nullptr && font->kopfGilt(schriftname)) {
    m = {hoehe, font->buchstabenFaktor * hoehe, font->wortFaktor * hoehe};
  }
  if (schriftname == kSchriftNormal || schriftname == kSchriftCourier) {
    m.scale = hoehe / kEinheitenProHoehe;
    m.buchstabenAbstand = kBuchstabenAbstand * hoehe;
    // A glyph narrower than its cell sits in its middle; it still takes the whole cell.
    if (schriftname == kSchriftCourier) m.zellbreite = m.wortAbstand;
  } else if (schriftname == kSchriftScriptc) {
    m = {hoehe / kScriptcEinheiten, 0.0, kScriptcWortAbstand * hoehe};
  }
  return m;
}

std::vector<MmPoint> Text_Strich(const FontStroke& strich, const TextMetrik& metrik, double penX, double basisY,
                                 double& advance) {
  const double s = metrik.scale;
  const auto at = [&](double u, double v) {
    advance = std::max(advance, u);
    return MmPoint{penX + u, basisY + v};
  };
  std::vector<MmPoint> punkte;
  switch (strich.kind) {
    case FontStroke::Kind::Line:
      punkte.push_back(at(strich.v[0] * s, strich.v[1] * s));
      punkte.push_back(at(strich.v[2] * s, strich.v[3] * s));
      break;
    case FontStroke::Kind::Arc: {
      const double cx = strich.v[0] * s;
      const double cy = strich.v[1] * s;
      const double r = strich.v[2] * s;
      const double start = strich.v[3];
      const double end = strich.v[4];
      const MmPoint first = degreesOn(cx, cy, r, start);
      punkte.push_back(at(first.x, first.y));
      for (int k = 1; start + k < end; ++k) {
        const MmPoint p = degreesOn(cx, cy, r, start + k);
        punkte.push_back(at(p.x, p.y));
      }
      const MmPoint last = degreesOn(cx, cy, r, end);
      punkte.push_back(at(last.x, last.y));
      break;
    }
    case FontStroke::Kind::Other:
      break;
  }
  return punkte;
}

bool Text_Zeichen(const StrokeFont& font, const std::string& zeichen, const TextMetrik& metrik, double penX,
                  double basisY, double& advance, const TextStrokeSink* sink) {
  const auto glyph = font.zeichen.find(zeichen);
  const bool gefunden = glyph != font.zeichen.end();
  if (gefunden) {
    for (const FontStroke& strich : glyph->second) {
      const std::vector<MmPoint> punkte = Text_Strich(strich, metrik, penX, basisY, advance);
      if (sink != nullptr && sink->strich && !punkte.empty()) sink->strich(punkte);
    }
  }
  if (sink != nullptr && sink->zeichenFertig) sink->zeichenFertig(gefunden);
  return gefunden;
}

double Text_Schreiben(const StrokeFont& font, const TextMetrik& metrik, std::string_view text, MmPoint start,
                      const TextStrokeSink* sink) {
  double penX = start.x;
  for (const std::string& zeichen : platform::utf8Characters(text)) {
    double advance = 0.0;
    if (zeichen == " ") {
      advance = metrik.wortAbstand;
    } else if (Text_Zeichen(font, zeichen, metrik, penX, start.y, advance, sink)) {
      advance = std::max(advance, metrik.zellbreite);
    }
    penX += advance + metrik.buchstabenAbstand;
  }
  return penX - start.x - metrik.buchstabenAbstand;
}

}  // namespace panel
