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
constexpr const char* kErrorCaption = "F E H L E R";
// User and plotter values are held within this bound (25 km of plotter units), so that sums of a
// position and a relative move stay exact in 64-bit integers and every extent fits 32 bits.
constexpr std::int64_t kValueBound = 1'000'000'000;
// Characters of an unknown command shown in its message.
constexpr std::size_t kDefaultChars = 32;
constexpr double kMaxChordAngle = 10.0;
constexpr double kMaxSweep = 360.0;
// Points of one arc at most: a full turn in steps of one degree, the finest a chord angle gives.
constexpr int kMaxArcSteps = 360;

std::int64_t bounded(std::int64_t v) { return std::clamp(v, -kValueBound, kValueBound); }

std::int64_t bounded(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<std::int64_t>(
      std::clamp(std::trunc(v), -static_cast<double>(kValueBound), static_cast<double>(kValueBound)));
}

bool isNumberChar(int c) { return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'; }
bool isLetter(int c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isCapital(int c) { return c >= 'A' && c <= 'Z'; }
bool isLineEnd(int c) { return c == '\r' || c == '\n'; }

// A parameter as read: the integer value of its leading digits, taken as the characters come, and
// its characters for the decimal value of a sweep angle.
struct Value {
  std::int64_t integer = 0;
  std::string_view digits;

  double decimal() const {
    std::string_view text = digits;
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double d = 0.0;
    if (std::from_chars(text.data(), text.data() + text.size(), d).ec != std::errc{} || !std::isfinite(d)) return 0.0;
    return d;
  }
};

// The bytes of an unknown command as its message shows them: control bytes as '?'.
std::string printable(std::string_view bytes) {
  std::string text(bytes);
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return platform::cp1252ToUtf8(text);
}

class HpglParser {
 public:
  HpglParser(std::string_view data, double xShift, double yShift, std::size_t maxElements)
      : data_(data), xShift_(xShift), yShift_(yShift), result_(maxElements) {}

  HpglReadResult read() {
    if (!findIn()) {
      addMessage("Der Befehl 'IN' fehlt in der Plot-Datei!", kErrorCaption);
      return std::move(result_);
    }
    result_.inFound = true;
    absolute_ = true;
    bool ok = append("UP");
    penIsUp_ = true;
    int c = get();
    while (c == ' ' || c == ';') c = get();
    pushBack(c);

    while (ok) {
      commandStart_ = pos_;
      const int first = getCommandChar();
      if (first == kEof) break;
      if (isLineEnd(first)) continue;
      if (first == ';') {
        result_.strayBeep = true;
        continue;
      }
      ok = command(first, getCommandChar());
    }
    if (ok) ok = append("UP");
    if (!ok) {
      addMessage(failureLine_ > 0 ? "Fehler beim Parsen\nZeile " + std::to_string(failureLine_) : "Fehler beim Parsen",
                 kErrorCaption);
      result_.elements.Liste_loeschen();
      result_.xMin = result_.yMin = result_.xMax = result_.yMax = 0;
      return std::move(result_);
    }
    result_.complete = true;
    return std::move(result_);
  }

 private:
  // ---- Characters
  int get() { return pos_ < data_.size() ? static_cast<unsigned char>(data_[pos_++]) : kEof; }
  // The command reader reads letters as capitals.
  int getCommandChar() {
    const int c = get();
    return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
  }
  // Pushes back the character just read; the end of the file stays where it is.
  void pushBack(int c) {
    if (c != kEof) --pos_;
  }
  void skipBlanks() {
    int c = get();
    while (c == ' ' || isLineEnd(c)) c = get();
    pushBack(c);
  }

  void addMessage(std::string text, const char* caption) { result_.messages.push_back({std::move(text), caption}); }

  // ---- Start: an "I" immediately followed by an "N"; the letter after a lone "I" is taken with it.
  bool findIn() {
    for (;;) {
      const int c = getCommandChar();
      if (c == kEof) return false;
      if (c != 'I') continue;
      const int n = getCommandChar();
      if (n == 'N') return true;
      if (n == kEof) return false;
    }
  }

  // ---- Parameters
  // One value of the parameter list. Empty when the list ends without one: at ';', at the next
  // command's letter (pushed back) or at the end of the file. Blanks, commas and line ends
  // separate values; a character that belongs to none of these marks the value invalid and
  // reading goes on.
  std::optional<Value> HoleWert() {
    if (listEnded_) return std::nullopt;
    Value value;
    std::size_t digitsStart = 0;
    bool digitsRun = false;  // the number's characters still follow one another
    bool collected = false;
    bool valid = true;
    int sign = 1;
    bool integerDone = false;
    bool skipFollowing = true;
    for (;;) {
      const int c = get();
      if (c == kEof) {
        listEnded_ = true;
        skipFollowing = false;
        break;
      }
      if (isNumberChar(c)) {
        if (!collected) {
          digitsStart = pos_ - 1;
          digitsRun = true;
        }
        if (digitsRun) value.digits = data_.substr(digitsStart, pos_ - digitsStart);
        // The integer value of the leading digits, with one sign in front, as the characters come.
        if (!integerDone) {
          if (c >= '0' && c <= '9') {
            value.integer = std::min<std::int64_t>(value.integer * 10 + (c - '0'), kValueBound + 1);
          } else if ((c == '+' || c == '-') && !collected) {
            sign = c == '-' ? -1 : 1;
          } else {
            integerDone = true;
          }
        }
        collected = true;
        continue;
      }
      digitsRun = false;
      if (c == ',' || c == ' ' || isLineEnd(c)) {
        if (collected) break;
        continue;
      }
      if (c == ';') {
        listEnded_ = true;
        break;
      }
      if (isLetter(c)) {
        pushBack(c);
        listEnded_ = true;
        skipFollowing = false;
        break;
      }
      valid = false;
    }
    lastValid_ = valid;
    // Blanks after a value or after the list's ';' are passed over, so that the next value or
    // command starts at its first character.
    if (skipFollowing) skipBlanks();
    if (!collected) return std::nullopt;
    value.integer = bounded(sign * value.integer);
    return value;
  }

  // Reads the rest of a parameter list without using it (surplus values of IP, SC, SP and the
  // arcs, as plot writers of later plotter generations add them).
  void skipRest() {
    while (HoleWert()) {
    }
  }

  // A command passed over: its parameter list up to its terminator, that is ';', the next
  // command's capital (pushed back) or the end of the file, then the blanks after it. A line end
  // inside the list separates values as in a handled command; a letter after it begins the next
  // command, so a list that is neither closed nor followed by a capital still ends at its line.
  void skipCommand() {
    for (;;) {
      int c = get();
      if (c == kEof) return;
      if (c == ';') break;
      if (isCapital(c)) {
        pushBack(c);
        return;
      }
      if (isLineEnd(c)) {
        c = get();
        while (c == ' ' || isLineEnd(c)) c = get();
        pushBack(c);
        if (isLetter(c)) return;
      }
    }
    int c = get();
    while (c == ' ') c = get();
    pushBack(c);
  }

  // The line of the file the byte at `pos` stands on, counted from 1.
  int lineOf(std::size_t pos) const {
    const std::string_view before = data_.substr(0, std::min(pos, data_.size()));
    return 1 + static_cast<int>(std::count(before.begin(), before.end(), '\n'));
  }

  // A label, up to its terminator; a ';' right after it belongs to it. A label that the file
  // ends in would take the rest of the plot with it: the plot fails, naming the label's line.
  bool label() {
    int c = get();
    while (c != kEof && c != labelTerminator_) c = get();
    if (c == kEof) return unterminated();
    c = get();
    if (c != ';') pushBack(c);
    c = get();
    while (c == ' ') c = get();
    pushBack(c);
    return true;
  }

  // A comment: its quoted text, then the rest as any command passed over. A quote that the file
  // ends in fails the plot as an open label does.
  bool comment() {
    int c = get();
    while (c == ' ') c = get();
    if (c == '"') {
      c = get();
      while (c != kEof && c != '"') c = get();
      if (c == kEof) return unterminated();
    } else {
      pushBack(c);
    }
    skipCommand();
    return true;
  }

  bool unterminated() {
    failureLine_ = lineOf(commandStart_);
    return false;
  }

  // The label terminator: the character after DT, ETX again for none.
  void setLabelTerminator() {
    const int c = get();
    if (c == kEof || c == ';' || isLineEnd(c)) {
      labelTerminator_ = kEtx;
      pushBack(c);
    } else {
      labelTerminator_ = c;
    }
    skipCommand();
  }

  // ---- Output
  bool append(std::string_view word, std::int32_t pen = 0, double x = 0.0, double y = 0.0) {
    if (result_.elements.Element_anhaengen(HpglElement{std::string(word), pen, x, y})) return true;
    if (!listFull_) {
      addMessage("Die Plot-Datei ist zu groß: sie hat mehr als " + std::to_string(result_.elements.maxElements()) +
                     " Elemente.",
                 kErrorCaption);
      listFull_ = true;
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
  double mmPerUserUnit() const {
    const double sx = std::fabs(static_cast<double>(p2x_ - p1x_) / static_cast<double>(xMax_ - xMin_));
    const double sy = std::fabs(static_cast<double>(p2y_ - p1y_) / static_cast<double>(yMax_ - yMin_));
    return std::max(sx, sy) * kMmPerPlotterUnit;
  }

  bool point(std::string_view word, std::int64_t u, std::int64_t v) {
    u = bounded(u);
    v = bounded(v);
    // Scaling can stretch a bounded user value far beyond it; plotter values are held within the
    // same bound, so the extent holds every point.
    const double px = std::clamp(plotterX(u), -static_cast<double>(kValueBound), static_cast<double>(kValueBound));
    const double py = std::clamp(plotterY(v), -static_cast<double>(kValueBound), static_cast<double>(kValueBound));
    const std::int32_t ex = platform::saturatingTrunc(px);
    const std::int32_t ey = platform::saturatingTrunc(py);
    result_.xMin = std::min(result_.xMin, ex);
    result_.yMin = std::min(result_.yMin, ey);
    result_.xMax = std::max(result_.xMax, ex);
    result_.yMax = std::max(result_.yMax, ey);
    u_ = u;
    v_ = v;
    return append(word, 0, xShift_ + px * kMmPerPlotterUnit, yShift_ + py * kMmPerPlotterUnit);
  }

  // ---- Commands
  bool command(int a, int b) {
    listEnded_ = false;
    lastValid_ = true;
    const char m[3] = {static_cast<char>(a), static_cast<char>(b == kEof ? 0 : b), 0};
    const std::string_view mn(m);
    if (mn == "PA" || mn == "PR" || mn == "PU" || mn == "PD") return pairs(mn);
    if (mn == "SP") return selectPen();
    if (mn == "IP") return scalingPoints();
    if (mn == "SC") return userWindow();
    if (mn == "CI") return circle();
    if (mn == "AA" || mn == "AR") return arcCommand(mn == "AR");
    if (mn == "LB") return label();
    if (mn == "CO") return comment();
    if (mn == "DT") {
      setLabelTerminator();
      return true;
    }
    static constexpr std::string_view kSkipped[] = {"CA", "DF", "EC", "IN", "IW", "LT", "OE", "PG", "PS", "PT",
                                                    "PW", "SF", "TC", "VS", "WU", "ZA", "ZD", "ZO", "ZR", "ZU"};
    if (std::find(std::begin(kSkipped), std::end(kSkipped), mn) != std::end(kSkipped)) {
      skipCommand();
      return true;
    }
    static constexpr std::string_view kKnownFirstLetters = "ACDEILOPSTVWZ";
    if (a != kEof && kKnownFirstLetters.find(static_cast<char>(a)) != std::string_view::npos) {
      addMessage(std::string(1, static_cast<char>(a)) + "... - Befehl ist noch nicht implementiert!", "H I N W E I S");
      pos_ = data_.size();
      return false;
    }
    addMessage("HPGL_Parser() default: \n" + printable(data_.substr(commandStart_, kDefaultChars)), kErrorCaption);
    return false;
  }

  // PA, PR, PU, PD: the mode or pen state, then one step per complete x,y pair.
  bool pairs(std::string_view mn) {
    if (mn == "PA") absolute_ = true;
    if (mn == "PR") absolute_ = false;
    if (mn == "PU") {
      if (!append("UP")) return false;
      penIsUp_ = true;
    }
    if (mn == "PD") {
      if (!append("DOWN")) return false;
      penIsUp_ = false;
    }
    const std::string_view step = penIsUp_ ? "MOVETO" : "LINETO";
    for (;;) {
      const std::optional<Value> x = HoleWert();
      if (!x) break;
      const std::optional<Value> y = HoleWert();
      if (!y) break;
      const std::int64_t u = absolute_ ? x->integer : u_ + x->integer;
      const std::int64_t v = absolute_ ? y->integer : v_ + y->integer;
      if (!point(step, u, v)) return false;
    }
    return lastValid_;
  }

  bool selectPen() {
    const std::optional<Value> pen = HoleWert();
    skipRest();
    const auto n = static_cast<std::int32_t>(pen ? pen->integer : 0);
    return append("STIFT", n) && lastValid_;
  }

  // Up to four values of the parameter list over the defaults in `values`, the rest of the list
  // passed over; gives how many were read.
  int fourValues(std::array<std::int64_t, 4>& values) {
    int n = 0;
    while (n < 4) {
      const std::optional<Value> w = HoleWert();
      if (!w) break;
      values[static_cast<std::size_t>(n++)] = w->integer;
    }
    skipRest();
    return n;
  }

  // IP: the scaling points, without values their defaults (0, 0) and (100, 100). P1 alone moves
  // P2 along by P1's shift, as a plotter does, so that P2 keeps its distance from P1 instead of
  // the plot being squeezed between P1 and the old P2 or down to the default distance.
  bool scalingPoints() {
    std::array<std::int64_t, 4> values = {0, 0, 100, 100};
    const int n = fourValues(values);
    const std::int64_t dx = n == 0 ? 100 : p2x_ - p1x_;
    const std::int64_t dy = n == 0 ? 100 : p2y_ - p1y_;
    p1x_ = values[0];
    p1y_ = values[1];
    p2x_ = n >= 3 ? values[2] : bounded(p1x_ + dx);
    p2y_ = n >= 4 ? values[3] : bounded(p1y_ + dy);
    return lastValid_;
  }

  // SC: the user window from its default 0..100 in both axes; an axis given no span keeps the
  // default, which spares the scaling a division by zero.
  bool userWindow() {
    std::array<std::int64_t, 4> values = {0, 100, 0, 100};
    fourValues(values);
    xMin_ = values[0];
    xMax_ = values[1];
    yMin_ = values[2];
    yMax_ = values[3];
    if (xMin_ == xMax_) {
      xMin_ = 0;
      xMax_ = 100;
    }
    if (yMin_ == yMax_) {
      yMin_ = 0;
      yMax_ = 100;
    }
    return lastValid_;
  }

  // CI: the circle round the current position. The pen travels lifted to the rim, draws the
  // circle, travels lifted back to the centre and takes its former state again, so no radial cut
  // joins the centre to the rim.
  bool circle() {
    const std::optional<Value> radius = HoleWert();
    const std::optional<Value> chord = HoleWert();
    skipRest();
    if (!radius) return lastValid_;
    const std::int64_t cx = u_;
    const std::int64_t cy = v_;
    const bool wasDown = !penIsUp_;
    if (wasDown && !append("UP")) return false;
    if (!point("MOVETO", cx + radius->integer, cy) || !append("DOWN")) return false;
    if (!arc(cx, cy, kMaxSweep, chord ? static_cast<double>(chord->integer) : 0.0)) return false;
    if (!append("UP") || !point("MOVETO", cx, cy)) return false;
    penIsUp_ = !wasDown;
    if (wasDown && !append("DOWN")) return false;
    return lastValid_;
  }

  // AA (absolute centre) and AR (centre relative to the current position): centre, sweep in
  // degrees, chord angle.
  bool arcCommand(bool relative) {
    const std::optional<Value> x = HoleWert();
    const std::optional<Value> y = HoleWert();
    const std::optional<Value> sweepValue = HoleWert();
    const std::optional<Value> chord = HoleWert();
    skipRest();
    if (!x || !y || !sweepValue) return lastValid_;
    const std::int64_t cx = relative ? u_ + x->integer : x->integer;
    const std::int64_t cy = relative ? v_ + y->integer : y->integer;
    if (!arc(bounded(cx), bounded(cy), sweepValue->decimal(), chord ? static_cast<double>(chord->integer) : 0.0)) {
      return false;
    }
    return lastValid_;
  }

  // The arc from the current position round (cx, cy): "LINETO" points whatever the pen state,
  // each angle counted from the start with an integer step number, the last one exactly at the
  // end. The step is the chord angle, at most 10 degrees, or else chosen from the radius in
  // millimetres; a negative chord angle counts as its size.
  bool arc(std::int64_t cx, std::int64_t cy, double sweep, double chordAngle) {
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
    sweep = std::clamp(sweep, -kMaxSweep, kMaxSweep);
    const double span = std::fabs(sweep);
    const double step = chordAngle != 0.0 ? std::min(std::fabs(chordAngle), kMaxChordAngle)
                                          : panel::arcStepDegrees(std::fabs(r) * mmPerUserUnit());
    const double direction = sweep < 0.0 ? -1.0 : 1.0;
    // The number of points is fixed before the first one: the step is at least one degree and
    // the sweep at most one turn, so no radius and no chord angle gives more than kMaxArcSteps.
    const int steps = std::clamp(static_cast<int>(std::ceil(span / step)), 1, kMaxArcSteps);
    for (int k = 1; k <= steps; ++k) {
      const bool last = k == steps;
      const double advanced = static_cast<double>(k) * step;
      const double a = (last ? start + sweep : start + direction * advanced) * std::numbers::pi / 180.0;
      if (!point("LINETO", cx + bounded(r * std::cos(a)), cy + bounded(r * std::sin(a)))) return false;
    }
    return true;
  }

  std::string_view data_;
  std::size_t pos_ = 0;
  std::size_t commandStart_ = 0;
  double xShift_;
  double yShift_;
  HpglReadResult result_;

  bool listEnded_ = false;  // the current command's parameter list has ended
  bool lastValid_ = true;
  bool listFull_ = false;
  int failureLine_ = 0;  // the line a failure is named by; 0 when it names none
  bool absolute_ = true;
  bool penIsUp_ = true;
  int labelTerminator_ = kEtx;
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

HpglReadResult readHpgl(std::string_view bytes, double xShift, double yShift, std::size_t maxElements) {
  return HpglParser(bytes, xShift, yShift, maxElements).read();
}

}  // namespace formats
