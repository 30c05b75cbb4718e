// DXF reading: pairs of lines, the sections, and the entities that become paths.
#include "DxfReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <optional>
#include <string_view>

#include "panel/CncMotion.h"
#include "platform/NumberFormat.h"

namespace formats {

namespace {

constexpr double kFullTurn = 360.0;
// Sweeps closer than this (degrees) are one: an arc of 90 degrees that the arithmetic makes a
// hair longer than nine steps of 10 gets no chord of no length after its ninth.
constexpr double kSweepTolerance = 1e-6;
// Longest entity or section name kept in the count of skipped ones.
constexpr std::size_t kMaxNameShown = 32;
// Most different names the count of skipped entities keeps.
constexpr std::size_t kMaxSkippedNames = 64;

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.remove_suffix(1);
  return text;
}

// A real in any form a CAD program writes ("1", "-0.5", ".5", "1.5E+02"), '.' as the decimal
// point whatever the locale; nullopt when the text is no finite number.
std::optional<double> real(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0.0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc{} || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return platform::boundedValue(value);
}

struct Point {
  double x = 0.0;
  double y = 0.0;
};

struct Vertex {
  Point at;
  double bulge = 0.0;
};

// Thrown inside the reader when the drawing cannot be read on: its message names the line.
// `pairUnread`: the next pair could not be read at all (the lines ended, or its group code is no
// integer), so the entity being read ends there with what it has; otherwise one of its values was
// unreadable.
struct ReadError {
  std::string message;
  bool pairUnread = false;
};

class DxfParser {
 public:
  DxfParser(const std::vector<std::string>& lines, std::size_t maxElements) : lines_(lines), result_(maxElements) {}

  DxfReadResult read() {
    try {
      while (!ended_) {
        readPair();
        if (code_ == 0 && value_ == "SECTION") {
          readPair();
          if (code_ == 2) section(value_);
        }
        if (code_ == 0 && value_ == "EOF") ended_ = true;
      }
    } catch (const ReadError& error) {
      result_.error = error.message;
    }
    return std::move(result_);
  }

 private:
  // ---- Pairs
  [[noreturn]] void error(std::string text, std::size_t line, bool pairUnread = false) {
    throw ReadError{std::move(text) + "\nZeile " + std::to_string(line + 1), pairUnread};
  }

  void readPair() {
    if (index_ + 1 >= lines_.size()) {
      // Named by its last line: the one the reading stopped after.
      error("Die Zeichnung endet vor ihrem Abschluss \"EOF\".", lines_.empty() ? 0 : lines_.size() - 1, true);
    }
    const std::string_view codeText = trimmed(lines_[index_]);
    const std::optional<std::int32_t> code = platform::parseInt32(codeText);
    if (!code) {
      error("'" + std::string(codeText.substr(0, kMaxNameShown)) + "' ist kein gültiger Integerwert", index_, true);
    }
    code_ = *code;
    value_ = trimmed(lines_[index_ + 1]);
    valueLine_ = index_ + 1;
    index_ += 2;
  }

  // The next reader sees the pair just read again.
  void backUp() { index_ -= 2; }

  double number() {
    const std::optional<double> value = real(value_);
    if (!value) {
      error("'" + std::string(value_.substr(0, kMaxNameShown)) + "' ist kein gültiger Gleitkommawert", valueLine_);
    }
    return *value;
  }

  bool sectionEnd() {
    if (code_ != 0) return false;
    if (value_ == "EOF") ended_ = true;
    return value_ == "ENDSEC" || value_ == "EOF";
  }

  // ---- Sections
  void section(std::string_view name) {
    if (name == "ENTITIES") {
      entities();
    } else if (name == "HEADER" || name == "CLASSES" || name == "TABLES" || name == "BLOCKS" || name == "OBJECTS") {
      // Read and passed over; the extents the header gives are not the drawing's.
      do {
        readPair();
      } while (!sectionEnd());
    }
  }

  void entities() {
    readPair();
    while (!sectionEnd()) {
      // An entity that is read stops at the next one's pair, which is then read again here.
      if (code_ == 0 && !entity(value_)) skippedEntity(value_);
      readPair();
    }
  }

  void skippedEntity(std::string_view name) {
    const std::string key(name.substr(0, kMaxNameShown));
    auto& skipped = result_.skipped;
    if (skipped.size() < kMaxSkippedNames || skipped.count(key) != 0) ++skipped[key];
  }

  // ---- Entities: each reads its pairs up to the next code 0, which it backs up. False for an
  // entity that is passed over.
  bool entity(std::string_view name) {
    entityLine_ = valueLine_;
    if (name == "LINE") {
      line();
    } else if (name == "ARC") {
      arcEntity(false);
    } else if (name == "CIRCLE") {
      arcEntity(true);
    } else if (name == "LWPOLYLINE") {
      polyline();
    } else if (name == "POINT") {
      passOver({10, 20, 30, 50});
    } else if (name == "TEXT") {
      passOver({});
    } else {
      return false;
    }
    return true;
  }

  // Codes every entity may carry without meaning anything to a path.
  void otherCode() {
    switch (code_) {
      case 5:
      case 39:
      case 100:
      case 210:
      case 220:
      case 230:
        return;
      default:
        ++result_.unknownCodes;
    }
  }

  // Reads the next pair of the entity; false (the pair backed up) at the next entity.
  bool entityPair() {
    readPair();
    if (code_ != 0) return true;
    backUp();
    return false;
  }

  void passOver(std::initializer_list<int> used) {
    while (entityPair()) {
      if (std::find(used.begin(), used.end(), code_) == used.end()) otherCode();
    }
  }

  // Reads the pairs of an entity with `pair` (code by code). The entity ends at the next code 0,
  // or where the next pair cannot be read; in both cases `done` gets what was read, so that an
  // entity read whole before a drawing breaks off is kept. A value that cannot be read ends the
  // reading without it.
  template <class Pair, class Done>
  void readEntity(Pair pair, Done done) {
    try {
      while (entityPair()) pair();
    } catch (const ReadError& e) {
      if (e.pairUnread) done(false);
      throw;
    }
    done(true);
  }

  // A LINE that the drawing breaks off in is kept when its start and end were given.
  void line() {
    double x1 = 0.0, y1 = 0.0, z1 = 0.0, x2 = 0.0, y2 = 0.0, z2 = 0.0;
    unsigned given = 0;
    readEntity(
        [&] {
          switch (code_) {
            case 10:
              x1 = number();
              given |= 1;
              break;
            case 20:
              y1 = number();
              given |= 2;
              break;
            case 30:
              z1 = number();
              break;
            case 11:
              x2 = number();
              given |= 4;
              break;
            case 21:
              y2 = number();
              given |= 8;
              break;
            case 31:
              z2 = number();
              break;
            case 330:
              break;
            default:
              otherCode();
          }
        },
        [&](bool ended) {
          if (!ended && given != 15) return;
          append("MOVETO", x1, y1, z1);
          append("LINETO", x2, y2, z2);
        });
  }

  // An ARC or CIRCLE that the drawing breaks off in is kept when its centre, radius and (for an
  // ARC) both angles were given.
  void arcEntity(bool circle) {
    double cx = 0.0, cy = 0.0, cz = 0.0, r = 0.0, start = 0.0, end = circle ? kFullTurn : 0.0;
    unsigned given = 0;
    const unsigned whole = circle ? 7 : 31;
    readEntity(
        [&] {
          switch (code_) {
            case 10:
              cx = number();
              given |= 1;
              break;
            case 20:
              cy = number();
              given |= 2;
              break;
            case 30:
              cz = number();
              break;
            case 40:
              r = number();
              given |= 4;
              break;
            case 50:
              if (circle) {
                otherCode();
                break;
              }
              start = number();
              given |= 8;
              break;
            case 51:
              if (circle) {
                otherCode();
                break;
              }
              end = number();
              given |= 16;
              break;
            case 330:
              if (circle) otherCode();
              break;
            default:
              otherCode();
          }
        },
        [&](bool ended) {
          if (!ended && given != whole) return;
          arc(Point{cx, cy}, cz, r, start, end);
        });
  }

  void arc(Point centre, double cz, double r, double start, double end) {
    // Counter-clockwise from start to end: through 0 degrees when the start is the larger.
    double span = end - start;
    const double turns = std::round(span / kFullTurn);
    if (turns != 0.0 && std::fabs(span - turns * kFullTurn) < kSweepTolerance) {
      // Angles whole turns apart, either way (0 to 360, 360 to 0, 720 to 0): one full turn, not
      // a chord of no length. Angles written equal stay a point.
      span = kFullTurn;
    } else {
      if (start > end) span += kFullTurn;
      // However the angles are written (several turns apart, either way), an arc goes round once
      // at most, and never backwards.
      if (span < 0.0) span = std::fmod(span, kFullTurn) + kFullTurn;
      span = std::min(span, kFullTurn);
    }
    append("MOVETO", centre.x + r * std::cos(radians(start)), centre.y + r * std::sin(radians(start)), cz);
    chords(centre, r, start, span, std::nullopt, cz);
  }

  // "LINETO" chords round the centre from the start angle over the span (degrees, negative
  // clockwise), the last one on `endPoint` when given, else on the end angle.
  void chords(Point centre, double r, double start, double span, std::optional<Point> endPoint, double z) {
    const double step = panel::arcStepDegrees(std::fabs(r));
    const double size = std::fabs(span);
    const double direction = span < 0.0 ? -1.0 : 1.0;
    for (int k = 1;; ++k) {
      const double advanced = static_cast<double>(k) * step;
      if (advanced >= size - kSweepTolerance) {
        if (endPoint) {
          append("LINETO", endPoint->x, endPoint->y, z);
        } else {
          const double a = radians(start + span);
          append("LINETO", centre.x + r * std::cos(a), centre.y + r * std::sin(a), z);
        }
        return;
      }
      const double a = radians(start + direction * advanced);
      append("LINETO", centre.x + r * std::cos(a), centre.y + r * std::sin(a), z);
    }
  }

  static double radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

  // Each vertex is cut to as its y comes: the first is travelled to, each further one reached by
  // the segment from the vertex before, whose bulge has come by then. A polyline that the drawing
  // breaks off in keeps the vertices read; it is closed only when it ended.
  void polyline() {
    Point first;
    Vertex last;
    Point next;
    bool any = false;
    bool several = false;
    bool closed = false;
    readEntity(
        [&] {
          switch (code_) {
            case 10:
              next.x = number();
              break;
            case 20:
              next.y = number();
              if (!any) {
                append("MOVETO", next.x, next.y, 0.0);
                first = next;
                any = true;
              } else {
                segment(last, next);
                several = true;
              }
              last = Vertex{next, 0.0};
              break;
            case 42:
              // The bulge belongs to the vertex before it: the segment that leaves that vertex.
              if (any) last.bulge = number();
              break;
            case 70:
              closed = (platform::saturatingTrunc(number()) & 1) != 0;
              break;
            case 38:
            case 40:
            case 41:
            case 43:
            case 90:
              break;
            default:
              otherCode();
          }
        },
        [&](bool ended) {
          // A closed outline is cut back to where it began.
          if (ended && closed && several) segment(last, first);
        });
  }

  // The segment from a vertex to the next point: straight, or the arc its bulge gives (the
  // tangent of a quarter of the included angle, positive counter-clockwise).
  void segment(const Vertex& from, Point to) {
    const double dx = to.x - from.at.x;
    const double dy = to.y - from.at.y;
    const double chord = std::hypot(dx, dy);
    const double bulge = from.bulge;
    if (bulge == 0.0 || chord == 0.0) {
      append("LINETO", to.x, to.y, 0.0);
      return;
    }
    const double sweep = 4.0 * std::atan(bulge) * 180.0 / std::numbers::pi;
    // The centre lies on the chord's perpendicular, to the left of it for a counter-clockwise arc.
    const double offset = (1.0 - bulge * bulge) / (4.0 * bulge);
    const Point centre{from.at.x + dx / 2.0 - dy * offset, from.at.y + dy / 2.0 + dx * offset};
    const double r = std::hypot(from.at.x - centre.x, from.at.y - centre.y);
    const double start = std::atan2(from.at.y - centre.y, from.at.x - centre.x) * 180.0 / std::numbers::pi;
    chords(centre, r, start, sweep, to, 0.0);
  }

  void append(const char* command, double x, double y, double z) {
    if (!result_.elements.Element_anhaengen(DxfElement{command, x, y, z})) {
      // A drawing cut short would be milled only in part.
      error("Die Zeichnung hat mehr als " + std::to_string(result_.elements.maxElements()) + " Wegelemente.",
            entityLine_);
    }
    // The window widens from (0, 0) to (-0, -0), so it always holds the origin.
    result_.xMin = std::min(result_.xMin, x);
    result_.xMax = std::max(result_.xMax, x);
    result_.yMin = std::min(result_.yMin, y);
    result_.yMax = std::max(result_.yMax, y);
  }

  const std::vector<std::string>& lines_;
  DxfReadResult result_;
  std::size_t index_ = 0;
  std::size_t valueLine_ = 0;
  std::size_t entityLine_ = 0;  // the line of the entity's name
  std::int32_t code_ = 0;
  std::string_view value_;
  bool ended_ = false;
};

}  // namespace

DxfReadResult readDxf(const std::vector<std::string>& lines, std::size_t maxElements) {
  return DxfParser(lines, maxElements).read();
}

}  // namespace formats
