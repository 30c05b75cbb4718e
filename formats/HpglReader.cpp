// HPGL reading. The reader walks the bytes once; a character can be pushed back for the next read.
#include "HpglReader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>

#include "panel/CncMotion.h"
#include "platform/NumberFormat.h"
#include "platform/TextCodec.h"

namespace formats {

namespace {

constexpr int kEof = -1;
constexpr char kEtx = 0x03;
constexpr const char* kFehler = "F E H L E R";
// User and plotter values are held within this bound (25 km of plotter units), so that sums of a
// position and a relative move stay exact in 64-bit integers and every extent fits 32 bits.
constexpr std::int64_t kWertGrenze = 1'000'000'000;
// Characters of an unknown command shown in its message.
constexpr std::size_t kDefaultZeichen = 32;
constexpr double kMaxSehnenwinkel = 10.0;
constexpr double kMaxBogen = 360.0;

std::int64_t begrenzt(std::int64_t v) { return std::clamp(v, -kWertGrenze, kWertGrenze); }

std::int64_t begrenzt(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<std::int64_t>(
      std::clamp(std::trunc(v), -static_cast<double>(kWertGrenze), static_cast<double>(kWertGrenze)));
}

bool istZahlzeichen(int c) { return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'; }
bool istBuchstabe(int c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool istGrossbuchstabe(int c) { return c >= 'A' && c <= 'Z'; }
bool istZeilenende(int c) { return c == '\r' || c == '\n'; }

// A parameter as read: the integer value of its leading digits, taken as the characters come, and
// its characters for the decimal value of a sweep angle.
struct Wert {
  std::int64_t ganz = 0;
  std::string_view zahl;

  double dezimal() const {
    std::string_view text = zahl;
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double d = 0.0;
    if (std::from_chars(text.data(), text.data() + text.size(), d).ec != std::errc{} || !std::isfinite(d)) return 0.0;
    return d;
  }
};

// The bytes of an unknown command as its message shows them: control bytes as '?'.
std::string anzeigbar(std::string_view bytes) {
  std::string text(bytes);
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return platform::cp1252ToUtf8(text);
}

class HpglParser {
 public:
  HpglParser(std::string_view data, double xShift, double yShift, std::size_t maxElemente)
      : data_(data), xShift_(xShift), yShift_(yShift), ergebnis_(maxElemente) {}

  HpglErgebnis lesen() {
    if (!inSuchen()) {
      melden("Der Befehl 'IN' fehlt in der Plot-Datei!", kFehler);
      return std::move(ergebnis_);
    }
    ergebnis_.inGefunden = true;
    absolut_ = true;
    bool ok = anhaengen("UP");
    stiftOben_ = true;
    int c = get();
    while (c == ' ' || c == ';') c = get();
    zurueck(c);

    while (ok) {
      befehlStart_ = pos_;
      const int erster = getBefehl();
      if (erster == kEof) break;
      if (istZeilenende(erster)) continue;
      if (erster == ';') {
        ergebnis_.semikolonPiep = true;
        continue;
      }
      ok = befehl(erster, getBefehl());
    }
    if (ok) ok = anhaengen("UP");
    if (!ok) {
      melden("Fehler beim Parsen", kFehler);
      ergebnis_.liste.Liste_loeschen();
      ergebnis_.xMin = ergebnis_.yMin = ergebnis_.xMax = ergebnis_.yMax = 0;
      return std::move(ergebnis_);
    }
    ergebnis_.gelesen = true;
    return std::move(ergebnis_);
  }

 private:
  // ---- Characters
  int get() { return pos_ < data_.size() ? static_cast<unsigned char>(data_[pos_++]) : kEof; }
  // The command reader reads letters as capitals.
  int getBefehl() {
    const int c = get();
    return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
  }
  // Pushes back the character just read; the end of the file stays where it is.
  void zurueck(int c) {
    if (c != kEof) --pos_;
  }
  void ueberspringeLeerzeichen() {
    int c = get();
    while (c == ' ' || istZeilenende(c)) c = get();
    zurueck(c);
  }

  void melden(std::string text, const char* caption) { ergebnis_.meldungen.push_back({std::move(text), caption}); }

  // ---- Start: an "I" immediately followed by an "N"; the letter after a lone "I" is taken with it.
  bool inSuchen() {
    for (;;) {
      const int c = getBefehl();
      if (c == kEof) return false;
      if (c != 'I') continue;
      const int n = getBefehl();
      if (n == 'N') return true;
      if (n == kEof) return false;
    }
  }

  // ---- Parameters
  // One value of the parameter list. Empty when the list ends without one: at ';', at the next
  // command's letter (pushed back) or at the end of the file. Blanks, commas and line ends
  // separate values; a character that belongs to none of these marks the value invalid and
  // reading goes on.
  std::optional<Wert> holeWert() {
    if (ende_) return std::nullopt;
    Wert wert;
    std::size_t zahlAnfang = 0;
    bool zahlOffen = false;  // the number's characters still follow one another
    bool gesammelt = false;
    bool gueltig = true;
    int vorzeichen = 1;
    bool ganzFertig = false;
    bool folgendeUeberspringen = true;
    for (;;) {
      const int c = get();
      if (c == kEof) {
        ende_ = true;
        folgendeUeberspringen = false;
        break;
      }
      if (istZahlzeichen(c)) {
        if (!gesammelt) {
          zahlAnfang = pos_ - 1;
          zahlOffen = true;
        }
        if (zahlOffen) wert.zahl = data_.substr(zahlAnfang, pos_ - zahlAnfang);
        // The integer value of the leading digits, with one sign in front, as the characters come.
        if (!ganzFertig) {
          if (c >= '0' && c <= '9') {
            wert.ganz = std::min<std::int64_t>(wert.ganz * 10 + (c - '0'), kWertGrenze + 1);
          } else if ((c == '+' || c == '-') && !gesammelt) {
            vorzeichen = c == '-' ? -1 : 1;
          } else {
            ganzFertig = true;
          }
        }
        gesammelt = true;
        continue;
      }
      zahlOffen = false;
      if (c == ',' || c == ' ' || istZeilenende(c)) {
        if (gesammelt) break;
        continue;
      }
      if (c == ';') {
        ende_ = true;
        break;
      }
      if (istBuchstabe(c)) {
        zurueck(c);
        ende_ = true;
        folgendeUeberspringen = false;
        break;
      }
      gueltig = false;
    }
    letztesGueltig_ = gueltig;
    // Blanks after a value or after the list's ';' are passed over, so that the next value or
    // command starts at its first character.
    if (folgendeUeberspringen) ueberspringeLeerzeichen();
    if (!gesammelt) return std::nullopt;
    wert.ganz = begrenzt(vorzeichen * wert.ganz);
    return wert;
  }

  // Reads the rest of a parameter list without using it (surplus values of IP, SC, SP and the
  // arcs, as plot writers of later plotter generations add them).
  void restUeberspringen() {
    while (holeWert()) {
    }
  }

  // A command passed over: up to the next capital (pushed back), ';', a line end or the end of
  // the file, and the blanks after it.
  void ueberspringen() {
    int c = get();
    while (c != kEof && c != ';' && !istZeilenende(c) && !istGrossbuchstabe(c)) c = get();
    if (istGrossbuchstabe(c)) {
      zurueck(c);
      return;
    }
    c = get();
    while (c == ' ') c = get();
    zurueck(c);
  }

  // A label, up to its terminator; a ';' right after it belongs to it.
  void label() {
    int c = get();
    while (c != kEof && c != labelEnde_) c = get();
    c = get();
    if (c != ';') zurueck(c);
    c = get();
    while (c == ' ') c = get();
    zurueck(c);
  }

  // A comment: its quoted text, then the rest as any command passed over.
  void kommentar() {
    int c = get();
    while (c == ' ') c = get();
    if (c == '"') {
      c = get();
      while (c != kEof && c != '"') c = get();
    } else {
      zurueck(c);
    }
    ueberspringen();
  }

  // The label terminator: the character after DT, ETX again for none.
  void labelEndeSetzen() {
    const int c = get();
    if (c == kEof || c == ';' || istZeilenende(c)) {
      labelEnde_ = kEtx;
      zurueck(c);
    } else {
      labelEnde_ = c;
    }
    ueberspringen();
  }

  // ---- Output
  bool anhaengen(std::string_view befehl, std::int32_t stift = 0, double x = 0.0, double y = 0.0) {
    if (ergebnis_.liste.Element_anhaengen(HpglKnoten{std::string(befehl), stift, x, y})) return true;
    if (!listeVoll_) {
      melden("Die Plot-Datei ist zu groß: sie hat mehr als " + std::to_string(ergebnis_.liste.maxElemente()) +
                 " Elemente.",
             kFehler);
      listeVoll_ = true;
    }
    return false;
  }

  // User units to plotter units: P1 + (u - Xmin) x (P2 - P1) / (Xmax - Xmin).
  double plotterX(std::int64_t u) const {
    return static_cast<double>(p1x_) +
           static_cast<double>(u - xMin_) * static_cast<double>(p2x_ - p1x_) / static_cast<double>(xMax_ - xMin_);
  }
  double plotterY(std::int64_t v) const {
    return static_cast<double>(p1y_) +
           static_cast<double>(v - yMin_) * static_cast<double>(p2y_ - p1y_) / static_cast<double>(yMax_ - yMin_);
  }

  // Millimetres per user unit along the more stretched axis, for the step of arcs.
  double mmProEinheit() const {
    const double sx = std::fabs(static_cast<double>(p2x_ - p1x_) / static_cast<double>(xMax_ - xMin_));
    const double sy = std::fabs(static_cast<double>(p2y_ - p1y_) / static_cast<double>(yMax_ - yMin_));
    return std::max(sx, sy) * kMmProPlotterEinheit;
  }

  bool punkt(std::string_view befehl, std::int64_t u, std::int64_t v) {
    u = begrenzt(u);
    v = begrenzt(v);
    // Scaling can stretch a bounded user value far beyond it; plotter values are held within the
    // same bound, so the extent holds every point.
    const double px = std::clamp(plotterX(u), -static_cast<double>(kWertGrenze), static_cast<double>(kWertGrenze));
    const double py = std::clamp(plotterY(v), -static_cast<double>(kWertGrenze), static_cast<double>(kWertGrenze));
    const std::int32_t ex = platform::saturatingTrunc(px);
    const std::int32_t ey = platform::saturatingTrunc(py);
    ergebnis_.xMin = std::min(ergebnis_.xMin, ex);
    ergebnis_.yMin = std::min(ergebnis_.yMin, ey);
    ergebnis_.xMax = std::max(ergebnis_.xMax, ex);
    ergebnis_.yMax = std::max(ergebnis_.yMax, ey);
    u_ = u;
    v_ = v;
    return anhaengen(befehl, 0, xShift_ + px * kMmProPlotterEinheit, yShift_ + py * kMmProPlotterEinheit);
  }

  // ---- Commands
  bool befehl(int a, int b) {
    ende_ = false;
    letztesGueltig_ = true;
    const char m[3] = {static_cast<char>(a), static_cast<char>(b == kEof ? 0 : b), 0};
    const std::string_view mn(m);
    if (mn == "PA" || mn == "PR" || mn == "PU" || mn == "PD") return strecken(mn);
    if (mn == "SP") return stift();
    if (mn == "IP") return skalierpunkte();
    if (mn == "SC") return nutzerfenster();
    if (mn == "CI") return kreis();
    if (mn == "AA" || mn == "AR") return bogenBefehl(mn == "AR");
    if (mn == "LB") {
      label();
      return true;
    }
    if (mn == "CO") {
      kommentar();
      return true;
    }
    if (mn == "DT") {
      labelEndeSetzen();
      return true;
    }
    static constexpr std::string_view kUebersprungen[] = {"CA", "DF", "EC", "IN", "IW", "LT", "OE", "PG", "PS", "PT",
                                                          "PW", "SF", "TC", "VS", "WU", "ZA", "ZD", "ZO", "ZR", "ZU"};
    if (std::find(std::begin(kUebersprungen), std::end(kUebersprungen), mn) != std::end(kUebersprungen)) {
      ueberspringen();
      return true;
    }
    static constexpr std::string_view kBekannteErste = "ACDEILOPSTVWZ";
    if (a != kEof && kBekannteErste.find(static_cast<char>(a)) != std::string_view::npos) {
      melden(std::string(1, static_cast<char>(a)) + "... - Befehl ist noch nicht implementiert!", "H I N W E I S");
      pos_ = data_.size();
      return false;
    }
    melden("HPGL_Parser() default: \n" + anzeigbar(data_.substr(befehlStart_, kDefaultZeichen)), kFehler);
    return false;
  }

  // PA, PR, PU, PD: the mode or pen state, then one step per complete x,y pair.
  bool strecken(std::string_view mn) {
    if (mn == "PA") absolut_ = true;
    if (mn == "PR") absolut_ = false;
    if (mn == "PU") {
      if (!anhaengen("UP")) return false;
      stiftOben_ = true;
    }
    if (mn == "PD") {
      if (!anhaengen("DOWN")) return false;
      stiftOben_ = false;
    }
    const std::string_view schritt = stiftOben_ ? "MOVETO" : "LINETO";
    for (;;) {
      const std::optional<Wert> x = holeWert();
      if (!x) break;
      const std::optional<Wert> y = holeWert();
      if (!y) break;
      const std::int64_t u = absolut_ ? x->ganz : u_ + x->ganz;
      const std::int64_t v = absolut_ ? y->ganz : v_ + y->ganz;
      if (!punkt(schritt, u, v)) return false;
    }
    return letztesGueltig_;
  }

  bool stift() {
    const std::optional<Wert> nummer = holeWert();
    restUeberspringen();
    const auto n = static_cast<std::int32_t>(nummer ? nummer->ganz : 0);
    return anhaengen("STIFT", n) && letztesGueltig_;
  }

  // Up to four values of the parameter list over the defaults in `werte`, the rest of the list
  // passed over; gives how many were read.
  int vierWerte(std::array<std::int64_t, 4>& werte) {
    int n = 0;
    while (n < 4) {
      const std::optional<Wert> w = holeWert();
      if (!w) break;
      werte[static_cast<std::size_t>(n++)] = w->ganz;
    }
    restUeberspringen();
    return n;
  }

  // IP: the scaling points from their defaults (0, 0) and (100, 100). P1 alone moves P2 along by
  // the same offset, as a plotter does, instead of squeezing the plot between P1 and the old P2.
  bool skalierpunkte() {
    std::array<std::int64_t, 4> werte = {0, 0, 100, 100};
    const int n = vierWerte(werte);
    p1x_ = werte[0];
    p1y_ = werte[1];
    p2x_ = n >= 3 ? werte[2] : p1x_ + 100;
    p2y_ = n >= 4 ? werte[3] : p1y_ + 100;
    return letztesGueltig_;
  }

  // SC: the user window from its default 0..100 in both axes; an axis given no span keeps the
  // default, which spares the scaling a division by zero.
  bool nutzerfenster() {
    std::array<std::int64_t, 4> werte = {0, 100, 0, 100};
    vierWerte(werte);
    xMin_ = werte[0];
    xMax_ = werte[1];
    yMin_ = werte[2];
    yMax_ = werte[3];
    if (xMin_ == xMax_) {
      xMin_ = 0;
      xMax_ = 100;
    }
    if (yMin_ == yMax_) {
      yMin_ = 0;
      yMax_ = 100;
    }
    return letztesGueltig_;
  }

  // CI: the circle round the current position. The pen travels lifted to the rim, draws the
  // circle, travels lifted back to the centre and takes its former state again, so no radial cut
  // joins the centre to the rim.
  bool kreis() {
    const std::optional<Wert> radius = holeWert();
    const std::optional<Wert> sehne = holeWert();
    restUeberspringen();
    if (!radius) return letztesGueltig_;
    const std::int64_t cx = u_;
    const std::int64_t cy = v_;
    const bool warUnten = !stiftOben_;
    if (warUnten && !anhaengen("UP")) return false;
    if (!punkt("MOVETO", cx + radius->ganz, cy) || !anhaengen("DOWN")) return false;
    if (!bogen(cx, cy, kMaxBogen, sehne ? static_cast<double>(sehne->ganz) : 0.0)) return false;
    if (!anhaengen("UP") || !punkt("MOVETO", cx, cy)) return false;
    stiftOben_ = !warUnten;
    if (warUnten && !anhaengen("DOWN")) return false;
    return letztesGueltig_;
  }

  // AA (absolute centre) and AR (centre relative to the current position): centre, sweep in
  // degrees, chord angle.
  bool bogenBefehl(bool relativ) {
    const std::optional<Wert> x = holeWert();
    const std::optional<Wert> y = holeWert();
    const std::optional<Wert> winkel = holeWert();
    const std::optional<Wert> sehne = holeWert();
    restUeberspringen();
    if (!x || !y || !winkel) return letztesGueltig_;
    const std::int64_t cx = relativ ? u_ + x->ganz : x->ganz;
    const std::int64_t cy = relativ ? v_ + y->ganz : y->ganz;
    if (!bogen(begrenzt(cx), begrenzt(cy), winkel->dezimal(), sehne ? static_cast<double>(sehne->ganz) : 0.0)) {
      return false;
    }
    return letztesGueltig_;
  }

  // The arc from the current position round (cx, cy): "LINETO" points whatever the pen state,
  // each angle counted from the start with an integer step number, the last one exactly at the
  // end. The step is the chord angle, at most 10 degrees, or else chosen from the radius in
  // millimetres; a negative chord angle counts as its size.
  bool bogen(std::int64_t cx, std::int64_t cy, double sweep, double sehnenwinkel) {
    const double dx = static_cast<double>(u_ - cx);
    const double dy = static_cast<double>(v_ - cy);
    double start = 0.0;
    double r = 0.0;
    if (dx == 0.0) {
      start = 90.0;
      r = dy;
    } else if (dy == 0.0) {
      start = 0.0;
      r = dx;
    } else {
      start = std::atan(dy / dx) * 180.0 / std::numbers::pi;
      r = dy / std::sin(start * std::numbers::pi / 180.0);
    }
    sweep = std::clamp(sweep, -kMaxBogen, kMaxBogen);
    const double weite = std::fabs(sweep);
    const double schritt = sehnenwinkel != 0.0 ? std::min(std::fabs(sehnenwinkel), kMaxSehnenwinkel)
                                               : panel::arcStepDegrees(std::fabs(r) * mmProEinheit());
    const double richtung = sweep < 0.0 ? -1.0 : 1.0;
    for (int k = 1;; ++k) {
      const double weiter = static_cast<double>(k) * schritt;
      const bool letzter = weiter >= weite;
      const double a = (letzter ? start + sweep : start + richtung * weiter) * std::numbers::pi / 180.0;
      if (!punkt("LINETO", cx + begrenzt(r * std::cos(a)), cy + begrenzt(r * std::sin(a)))) return false;
      if (letzter) return true;
    }
  }

  std::string_view data_;
  std::size_t pos_ = 0;
  std::size_t befehlStart_ = 0;
  double xShift_;
  double yShift_;
  HpglErgebnis ergebnis_;

  bool ende_ = false;  // the current command's parameter list has ended
  bool letztesGueltig_ = true;
  bool listeVoll_ = false;
  bool absolut_ = true;
  bool stiftOben_ = true;
  int labelEnde_ = kEtx;
  std::int64_t u_ = 0;  // current position, user units
  std::int64_t v_ = 0;
  std::int64_t p1x_ = 0;
  std::int64_t p1y_ = 0;
  std::int64_t p2x_ = 100;
  std::int64_t p2y_ = 100;
  std::int64_t xMin_ = 0;
  std::int64_t xMax_ = 100;
  std::int64_t yMin_ = 0;
  std::int64_t yMax_ = 100;
};

}  // namespace

HpglErgebnis HpglLesen(std::string_view bytes, double xShift, double yShift, std::size_t maxElemente) {
  return HpglParser(bytes, xShift, yShift, maxElemente).lesen();
}

}  // namespace formats
