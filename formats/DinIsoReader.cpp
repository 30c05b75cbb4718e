// DIN/ISO reading. The reader walks the bytes once; a character can be pushed back for the next read.
#include "DinIsoReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <optional>

#include "panel/CncMotion.h"
#include "platform/NumberFormat.h"
#include "platform/TextCodec.h"

namespace formats {

namespace {

constexpr int kEof = -1;
constexpr const char* kErrorCaption = "F E H L E R";
constexpr const char* kHintCaption = "H I N W E I S";
constexpr double kMmPerInch = 25.4;
// Characters of an unknown character's surroundings shown in its box, and of a hint's line.
constexpr std::size_t kDefaultChars = 32;
constexpr std::size_t kHintChars = 100;
// Two points closer than this are one point: an arc from a point back to it is a full circle.
constexpr double kSamePoint = 1e-9;

enum class Motion { None, Rapid, Feed, Clockwise, CounterClockwise };
enum class Plane { XY, XZ, YZ };

bool isDigit(int c) { return c >= '0' && c <= '9'; }
bool isNumberChar(int c) { return isDigit(c) || c == '-' || c == '.' || c == ','; }

// The bytes a box shows: control bytes as '?', in UTF-8.
std::string printable(std::string_view bytes) {
  std::string text(bytes);
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return platform::cp1252ToUtf8(text);
}

// The decimal number at the start of a word; ',' counts as the decimal point.
double wordValue(std::string word) {
  std::replace(word.begin(), word.end(), ',', '.');
  double value = 0.0;
  if (std::from_chars(word.data(), word.data() + word.size(), value).ec != std::errc{}) return 0.0;
  return platform::boundedValue(value);
}

// Angle of (dx, dy) in degrees and its distance, as the arcs of programs take them: the axis
// directions exactly, otherwise from the arc tangent, half a turn added to the left.
struct Polar {
  double angle = 0.0;
  double radius = 0.0;
};

Polar polar(double dx, double dy) {
  if (dx == 0.0) return Polar{dy >= 0.0 ? 90.0 : 270.0, std::fabs(dy)};
  if (dy == 0.0) return Polar{dx >= 0.0 ? 0.0 : 180.0, std::fabs(dx)};
  double angle = std::atan(dy / dx) * 180.0 / std::numbers::pi;
  if (dx < 0.0) angle += 180.0;
  return Polar{angle, std::hypot(dx, dy)};
}

class DinIsoParser {
 public:
  DinIsoParser(std::string_view data, double xShift, double yShift, std::size_t maxElements)
      : data_(data), xShift_(xShift), yShift_(yShift), result_(maxElements) {}

  DinIsoReadResult read() {
    // Everything before the first '%' is passed over; a program without one is empty.
    const std::size_t percent = data_.find('%');
    if (percent == std::string_view::npos) return std::move(result_);
    pos_ = percent;
    while (state_ == State::Reading) {
      const int c = getCommandChar();
      if (c == kEof) {
        // A last line without a line end still ends its block: dropping it would lose its move.
        endOfBlock();
        break;
      }
      topLevel(c);
    }
    if (state_ == State::Failed) {
      result_.messages.push_back({"Fehler beim Parsen" + lineSuffix(), kErrorCaption});
      result_.elements.Liste_loeschen();
      result_.xMin = result_.yMin = 0.0;
      result_.xMax = result_.yMax = -0.0;
      result_.failed = true;
    }
    return std::move(result_);
  }

 private:
  enum class State { Reading, Ended, Failed };

  // ---- Characters
  int get() {
    if (pos_ >= data_.size()) return kEof;
    current_ = pos_;
    return static_cast<unsigned char>(data_[pos_++]);
  }
  // The command reader reads letters as capitals.
  int getCommandChar() {
    const int c = get();
    return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
  }
  // Pushes back the character just read; the end of the file stays where it is.
  void pushBack(int c) {
    if (c != kEof) --pos_;
  }
  void skipLine() {
    for (int c = get(); c != kEof && c != '\n'; c = get()) {
    }
  }
  void skipComment() {
    for (int c = get(); c != kEof && c != ')'; c = get()) {
    }
  }

  // ---- Boxes: each names the line the reading stopped on.
  std::string lineSuffix() {
    if (result_.line == 0) {
      const std::size_t upTo = std::min(current_, data_.size());
      result_.line = 1 + static_cast<int>(std::count(data_.begin(), data_.begin() + static_cast<long>(upTo), '\n'));
    }
    return "\nZeile " + std::to_string(result_.line);
  }

  // A word the reader does not handle: the reading ends here, the path read so far stays.
  void hint(const std::string& word) {
    std::size_t end = current_;
    while (end < data_.size() && end - current_ < kHintChars && data_[end] != ';' && data_[end] != '\r' &&
           data_[end] != '\n') {
      ++end;
    }
    const std::string shown = current_ < data_.size() ? printable(data_.substr(current_, end - current_)) : "";
    result_.messages.push_back(
        {"|" + word + "| " + shown + " - Befehl ist noch nicht implementiert!" + lineSuffix(), kHintCaption});
    result_.hint = true;
    state_ = State::Ended;
  }

  void fail() { state_ = State::Failed; }

  // A character that has no place in a program.
  void unknownCharacter() {
    const std::size_t start = current_;
    const std::size_t count = std::min(kDefaultChars, data_.size() - start);
    result_.messages.push_back(
        {"DINISO_Parser() default: \n" + printable(data_.substr(start, count)) + lineSuffix(), kErrorCaption});
    fail();
  }

  // ---- Number words
  // The word after an address letter, nullopt (the reading failed) when it is too long.
  std::optional<std::string> numberWord() {
    std::string word;
    for (;;) {
      const int c = get();
      if (isNumberChar(c)) {
        if (word.size() >= kMaxNumberWord) {
          fail();
          return std::nullopt;
        }
        word.push_back(static_cast<char>(c));
      } else if (c == ' ') {
        int next = get();
        while (next == ' ') next = get();
        pushBack(next);
        return word;
      } else {
        // A letter, ';', a line end or anything else ends the word and is read again at the top.
        pushBack(c);
        return word;
      }
    }
  }

  std::optional<double> number() {
    const std::optional<std::string> word = numberWord();
    if (!word) return std::nullopt;
    return wordValue(*word);
  }

  double length(double value) const { return inch_ ? platform::boundedValue(value * kMmPerInch) : value; }

  // ---- Elements
  void append(const char* command, std::string argument, double x, double y, double z) {
    if (!result_.elements.Element_anhaengen(DinIsoElement{command, std::move(argument), x, y, z})) {
      // A program cut short would be milled only in part.
      result_.messages.push_back({"Das Programm hat mehr als " + std::to_string(result_.elements.maxElements()) +
                                      " Wegelemente." + lineSuffix(),
                                  kErrorCaption});
      fail();
    }
  }

  void point(const char* command, double x, double y, double z) {
    if (state_ != State::Reading) return;
    const double px = platform::boundedValue(x + xShift_);
    const double py = platform::boundedValue(y + yShift_);
    append(command, "", px, py, z);
    // The window widens from (0, 0) to (-0, -0), so it always holds the origin.
    result_.xMin = std::min(result_.xMin, px);
    result_.xMax = std::max(result_.xMax, px);
    result_.yMin = std::min(result_.yMin, py);
    result_.yMax = std::max(result_.yMax, py);
    x_ = x;
    y_ = y;
    z_ = z;
  }

  void word(const char* command) {
    const std::optional<std::string> text = numberWord();
    if (text) append(command, *text, 0.0, 0.0, 0.0);
  }

  // ---- Top level
  void topLevel(int c) {
    switch (c) {
      case '\n':
        endOfBlock();
        break;
      case ' ':
      case '\t':
      case '\r':
        break;
      case '%':
      case '*':
        skipLine();
        break;
      case '(':
        skipComment();
        break;
      case '@':
      case 'D':
      case 'Q':
        hint(std::string(1, static_cast<char>(c)));
        break;
      case 'A':
      case 'B':
      case 'C':
      case 'N':
      case 'R':
      case 'S':
        numberWord();
        break;
      case 'F':
        word("F");
        break;
      case 'T':
        word("T");
        break;
      case 'L':
        if (numberWord()) hint("L");
        break;
      case 'G':
        gWord();
        break;
      case 'M':
        mWord();
        break;
      case 'I':
      case 'J':
      case 'K':
        if (const auto v = number()) (c == 'I' ? i_ : c == 'J' ? j_ : k_) = length(*v);
        break;
      case 'U':
      case 'V':
      case 'W':
        if (const auto v = number()) (c == 'U' ? u_ : c == 'V' ? v_ : w_) = *v;
        break;
      case 'X':
        if (const auto v = number()) targetX_ = coordinate(*v, x_);
        break;
      case 'Y':
        if (const auto v = number()) targetY_ = coordinate(*v, y_);
        break;
      case 'Z':
        if (const auto v = number()) targetZ_ = coordinate(*v, z_);
        break;
      default:
        unknownCharacter();
        break;
    }
  }

  double coordinate(double value, double current) const {
    const double mm = length(value);
    return incremental_ ? platform::boundedValue(mm + current) : mm;
  }

  // ---- G words: the digits after the G, one at a time.
  void startMotion(Motion motion) {
    motion_ = motion;
    targetX_ = x_;
    targetY_ = y_;
    targetZ_ = z_;
  }

  // An arc word followed by a blank: without I, J or K the centre is the current point itself in
  // absolute centre mode, and no offset (0) in relative mode.
  void startArcWithCentre(Motion motion) {
    startMotion(motion);
    if (centreRelative_) {
      i_ = j_ = k_ = 0.0;
    } else {
      i_ = x_;
      j_ = y_;
      k_ = z_;
    }
  }

  void gWord() {
    const int first = get();
    if (first == kEof) return;
    const int second = get();
    switch (first) {
      case '0':
        if (second == ' ' || second == '0') return startMotion(Motion::Rapid);
        if (second == '1') return startMotion(Motion::Feed);
        if (second == '2') return startMotion(Motion::Clockwise);
        if (second == '3') return startMotion(Motion::CounterClockwise);
        if (second == '4' || second == '9') return;
        return hint("G0x");
      case '1':
        if (second == ' ') return startMotion(Motion::Feed);
        if (second == '6') {
          const int third = get();
          if (third == '1') {
            centreRelative_ = false;
            return;
          }
          if (third == '2') {
            centreRelative_ = true;
            return;
          }
          return hint("G16x");
        }
        if (second == '7') plane_ = Plane::XY;
        if (second == '8') plane_ = Plane::XZ;
        if (second == '9') plane_ = Plane::YZ;
        if (second == '7' || second == '8' || second == '9') return;
        return hint("G1x");
      case '2':
        if (second == ' ') return startArcWithCentre(Motion::Clockwise);
        if (second == '1') return;
        return hint("G2x");
      case '3':
        if (second == ' ') return startArcWithCentre(Motion::CounterClockwise);
        return hint("G2x");
      case '4':
        if (second == '0' || second == '1' || second == '2') return;
        return hint("G4x");
      case '5':
      case '6':
        return;
      case '7':
        if (second == '0') inch_ = true;
        if (second == '1' || second == '4') inch_ = false;
        if (second == '0' || second == '1' || second == '4') return;
        return hint("G7x");
      case '9':
        if (second == '0') incremental_ = false;
        if (second == '1') incremental_ = true;
        if (second == '0' || second == '1' || second == '4' || second == '5' || second == '6') return;
        return hint("G9x");
      default:
        pushBack(second);
        current_ = pos_ - 1;
        return hint("Gx");
    }
  }

  // ---- M words: every M ends the block's motion.
  void mWord() {
    motion_ = Motion::None;
    const int first = get();
    if (first == kEof) return;
    if (first == '0') {
      const int second = get();
      if (second == '3') return append("MO3", "", 0.0, 0.0, 0.0);
      if (second == '5') return append("M05", "", 0.0, 0.0, 0.0);
      if (isDigit(second)) return;
      return hint("M0x");
    }
    if (first == '1') {
      const int second = get();
      if (second == '0' || second == '1') {
        get();
        return;
      }
      if (second == '6' || second == '7') return;
      return hint("M1x");
    }
    if (first == '3') {
      if (get() == '0') return append("M30", "", 0.0, 0.0, 0.0);
      return hint("M3x");
    }
    hint("M" + printable(std::string(1, static_cast<char>(first))));
  }

  // ---- End of block
  void endOfBlock() {
    switch (motion_) {
      case Motion::Rapid:
        point("GOO", targetX_, targetY_, targetZ_);
        break;
      case Motion::Feed:
        point("GO1", targetX_, targetY_, targetZ_);
        break;
      case Motion::Clockwise:
      case Motion::CounterClockwise:
        arc(motion_ == Motion::Clockwise);
        break;
      case Motion::None:
        break;
    }
    motion_ = Motion::None;
    // In relative centre mode an offset the next block does not give is 0, not this block's.
    if (centreRelative_) i_ = j_ = k_ = 0.0;
  }

  // The arc from the current point to the target in "GO1" chords, in the XY plane only; z stays.
  void arc(bool clockwise) {
    if (plane_ != Plane::XY) return;
    const double cx = centreRelative_ ? x_ + i_ : i_;
    const double cy = centreRelative_ ? y_ + j_ : j_;
    const Polar from = polar(x_ - cx, y_ - cy);
    const Polar to = polar(targetX_ - cx, targetY_ - cy);
    double start = from.angle;
    const double end = to.angle;
    const bool fullCircle = std::fabs(targetX_ - x_) < kSamePoint && std::fabs(targetY_ - y_) < kSamePoint;
    if (clockwise && (start < end || fullCircle)) start += 360.0;
    if (!clockwise && (start > end || fullCircle)) start -= 360.0;
    const double r = from.radius;
    const double span = std::min(std::fabs(end - start), 360.0);
    const double step = panel::arcStepDegrees(r);
    const double direction = clockwise ? -1.0 : 1.0;
    const double z = z_;
    const double endX = targetX_;
    const double endY = targetY_;
    for (int k = 1; state_ == State::Reading; ++k) {
      const double advanced = static_cast<double>(k) * step;
      if (advanced >= span) {
        // The last chord ends on the programmed end point, not on the circle through the start:
        // centres rounded in the program would otherwise shift everything after the arc.
        point("GO1", endX, endY, z);
        return;
      }
      const double a = (start + direction * advanced) * std::numbers::pi / 180.0;
      point("GO1", cx + r * std::cos(a), cy + r * std::sin(a), z);
    }
  }

  std::string_view data_;
  std::size_t pos_ = 0;
  std::size_t current_ = 0;  // where the character read last stands
  double xShift_;
  double yShift_;
  DinIsoReadResult result_;
  State state_ = State::Reading;

  double x_ = 0.0;  // current position: the end of the last element
  double y_ = 0.0;
  double z_ = 0.0;
  double targetX_ = 0.0;
  double targetY_ = 0.0;
  double targetZ_ = 0.0;
  double u_ = 0.0;  // read and kept, used by nothing
  double v_ = 0.0;
  double w_ = 0.0;
  double i_ = 0.0;
  double j_ = 0.0;
  double k_ = 0.0;
  Motion motion_ = Motion::None;
  Plane plane_ = Plane::XY;
  bool inch_ = false;
  bool incremental_ = false;
  bool centreRelative_ = true;
};

}  // namespace

DinIsoReadResult readDinIso(std::string_view bytes, double xShift, double yShift, std::size_t maxElements) {
  return DinIsoParser(bytes, xShift, yShift, maxElements).read();
}

}  // namespace formats
