// Engraved text: the strokes of a short word in each built-in font, blanks, arcs and missing
// glyphs, alignment with its box, handles and extent, fonts that are missing or malformed, the
// metrics of fonts whose header does or does not apply, the travel at the surface and the safety
// height after a stop, the pens of the drawing, and what the properties grid may write.
#include <algorithm>
#include <filesystem>
#include <ostream>
#include <tuple>

#include "FontFolder.h"
#include "MachineFixture.h"
#include "ObjectTypeFixture.h"
#include "machine/FailureCodes.h"
#include "panel/ObjectTypes.h"
#include "panel/types/TypeText.h"

namespace {

using Strings = std::vector<std::string>;
using paneltest::Cells;
using testsupport::CanvasOp;

// The glyphs every test font has: 'A' two strokes 6 units wide, 'I' one upright, 'O' a ring.
const Strings kGlyphen = {"[A] 2", "L 0,0,3,9", "L 3,9,6,0", "[I] 1", "L 0,0,0,9", "[O] 1", "A 3,4.5,3,0,360"};

void writeTestFonts() {
  for (const char* name : {"normal", "courier", "scriptc"})
    paneltest::writeFont(std::string(name) + ".cxf", paneltest::fontFile(name, "0.5 0.4 9", kGlyphen));
}

Cells text(const char* inhalt, const char* schrift, const char* hoehe, const char* ausrichtung = "links") {
  return {{1, ausrichtung}, {2, "10"}, {3, "20"}, {4, inhalt}, {5, schrift}, {6, hoehe}, {7, "-0.5"}};
}

class Texts : public paneltest::ObjectTypeFixture {
 protected:
  void SetUp() override {
    ObjectTypeFixture::SetUp();
    writeTestFonts();
    form_.FehlerSignal = [this] { ++drawBeeps_; };
  }

  // The strokes of the recorded milling calls as "x1,y1-x2,y2-...".
  static Strings strokes(const Strings& calls) {
    Strings out;
    for (const std::string& call : calls) {
      if (call.rfind("cncMoveTo ", 0) == 0) {
        const std::string xy = call.substr(10);
        out.push_back(xy.substr(0, xy.find(' ')) + "," + xy.substr(xy.find(' ') + 1));
      } else if (call.rfind("cncLineTo 1 ", 0) == 0) {
        std::string rest = call.substr(12);
        rest = rest.substr(0, rest.rfind(' '));
        out.back() += "-" + rest.replace(rest.find(' '), 1, ",");
      }
    }
    return out;
  }

  int drawBeeps_ = 0;
};

struct WordCase {
  const char* name;
  const char* schrift;
  const char* hoehe;
  const char* inhalt;
  Strings strokes;
  double breite;
  friend std::ostream& operator<<(std::ostream& os, const WordCase& c) { return os << c.name; }
};

class TextWords : public Texts, public ::testing::WithParamInterface<WordCase> {};

// At (10, 20): "normal.cxf" and "courier.cxf" take height / 9 per unit and a quarter of the height
// between letters (2.25 mm at 9 mm), a blank the header's 0.4 of the height; in "courier.cxf"
// every glyph takes at least a blank's width (its cell: 3.6 mm), however narrow. "scriptc.cxf"
// takes height / 5.4, no spacing between letters and 0.6 of the height for a blank. A font named
// in another letter case is found all the same (with the metrics of a name not built in).
TEST_P(TextWords, AreLaidOutStrokeByStrokeWithTheFontsMetrics) {
  const int row = addRow("TEXT", text(GetParam().inhalt, GetParam().schrift, GetParam().hoehe));
  const auto t = panel::Text_Lesen(form_, form_.DatenStringGrid, row);
  ASSERT_TRUE(t);
  EXPECT_NEAR(t->breite, GetParam().breite, 1e-9);
  EXPECT_EQ(strokes(mill(row)), GetParam().strokes);
  EXPECT_EQ(beeps_, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Fonts, TextWords,
    ::testing::Values(
        WordCase{"Normal",
                 "normal.cxf",
                 "9",
                 "AI",
                 {"10.00,20.00-13.00,29.00", "13.00,29.00-16.00,20.00", "18.25,20.00-18.25,29.00"},
                 8.25},
        WordCase{"NormalAThirdOfTheHeight",
                 "normal.cxf",
                 "3",
                 "AI",
                 {"10.00,20.00-11.00,23.00", "11.00,23.00-12.00,20.00", "12.75,20.00-12.75,23.00"},
                 2.75},
        WordCase{"Courier",
                 "courier.cxf",
                 "9",
                 "AI",
                 {"10.00,20.00-13.00,29.00", "13.00,29.00-16.00,20.00", "18.25,20.00-18.25,29.00"},
                 11.85},
        WordCase{"CourierNarrowGlyphsTakeTheirCell",
                 "courier.cxf",
                 "9",
                 "IIA",
                 {"10.00,20.00-10.00,29.00", "15.85,20.00-15.85,29.00", "21.70,20.00-24.70,29.00",
                  "24.70,29.00-27.70,20.00"},
                 17.7},
        WordCase{"NormalInCapitals",
                 "NORMAL.CXF",
                 "9",
                 "AI",
                 {"10.00,20.00-13.00,29.00", "13.00,29.00-16.00,20.00", "18.25,20.00-18.25,29.00"},
                 8.25},
        WordCase{"Scriptc",
                 "scriptc.cxf",
                 "5.4",
                 "AI",
                 {"10.00,20.00-13.00,29.00", "13.00,29.00-16.00,20.00", "16.00,20.00-16.00,29.00"},
                 6.0},
        WordCase{"NormalBlank", "normal.cxf", "9", "I I", {"10.00,20.00-10.00,29.00", "18.10,20.00-18.10,29.00"}, 8.1},
        WordCase{
            "ScriptcBlank", "scriptc.cxf", "5.4", "I I", {"10.00,20.00-10.00,29.00", "13.24,20.00-13.24,29.00"}, 3.24}),
    [](const ::testing::TestParamInfo<WordCase>& caseInfo) { return std::string(caseInfo.param.name); });

// Every stroke its own plunge: coolant off, travel, coolant on, plunge, cut; coolant off after
// every character.
TEST_F(Texts, EachStrokeIsAPlungeACutAndALiftAndEachCharacterEndsWithTheCoolantOff) {
  const int row = addRow("TEXT", text("AI", "normal.cxf", "9"));
  EXPECT_EQ(mill(row), (Strings{"cncKuehlmittelpumpe 0", "cncMoveTo 10.00 20.00", "cncKuehlmittelpumpe 1",
                                "cncLineTo 0 10.00 20.00 0.50", "cncLineTo 1 13.00 29.00 0.50", "cncKuehlmittelpumpe 0",
                                "cncMoveTo 13.00 29.00", "cncKuehlmittelpumpe 1", "cncLineTo 0 13.00 29.00 0.50",
                                "cncLineTo 1 16.00 20.00 0.50", "cncKuehlmittelpumpe 0", "cncKuehlmittelpumpe 0",
                                "cncMoveTo 18.25 20.00", "cncKuehlmittelpumpe 1", "cncLineTo 0 18.25 20.00 0.50",
                                "cncLineTo 1 18.25 29.00 0.50", "cncKuehlmittelpumpe 0"}));
}

// An arc is cut through a point at every whole degree; its rightmost point sets the advance.
TEST_F(Texts, ArcStrokesAreCutDegreeByDegree) {
  paneltest::writeFont("bogen.cxf",
                       paneltest::fontFile("x", "0 0 0", {"[C] 1", "A 0,0,1,90,0", "[O] 1", "A 3,4.5,3,0,360"}));
  const int row = addRow("TEXT", text("CO", "bogen.cxf", "9"));
  const Strings calls = mill(row);
  // The C runs from 90 round to 360 degrees: 270 cuts; then the O, a full turn of 360.
  EXPECT_EQ(
      std::count_if(calls.begin(), calls.end(), [](const std::string& c) { return c.rfind("cncLineTo 1", 0) == 0; }),
      270 + 360);
  EXPECT_EQ(calls[1], "cncMoveTo 10.00 21.00");
  EXPECT_EQ(calls[4], "cncLineTo 1 9.98 21.00 0.50");
  // C's rightmost point is 1 unit right of the pen: the O starts 1 + 2.25 later, at its 0 degrees.
  const auto o = std::find(calls.begin() + 4, calls.end(), "cncMoveTo 19.25 24.50");
  EXPECT_NE(o, calls.end());
}

TEST_F(Texts, ACharacterTheFontLacksSoundsTheSignalAndAddsOnlyTheSpacing) {
  const int row = addRow("TEXT", text("AXI", "normal.cxf", "9"));
  const Strings calls = mill(row);
  EXPECT_EQ(beeps_, 1);
  EXPECT_EQ(strokes(calls).back(), "20.50,20.00-20.50,29.00");
  // Drawn, the outline and the tool path each sound it once.
  ASSERT_TRUE(draw(row));
  EXPECT_EQ(drawBeeps_, 2);
}

struct AlignCase {
  const char* ausrichtung;
  double startX;
  int griff;
  friend std::ostream& operator<<(std::ostream& os, const AlignCase& c) { return os << c.ausrichtung; }
};

class TextAlignment : public Texts, public ::testing::WithParamInterface<AlignCase> {};

// "AI" at 9 mm is 8.25 mm wide; its box and its extent run from the aligned start.
TEST_P(TextAlignment, PlacesTheTextAndItsBoxHandleAndExtent) {
  const int row = addRow("TEXT", text("AI", "normal.cxf", "9", GetParam().ausrichtung));
  const auto t = panel::Text_Lesen(form_, form_.DatenStringGrid, row);
  ASSERT_TRUE(t);
  EXPECT_DOUBLE_EQ(t->start.x, GetParam().startX);
  const std::string first = strokes(mill(row)).front();
  EXPECT_EQ(first.substr(0, first.find(',')), platform::formatFixed(GetParam().startX, 2));

  const int sx = 40 + static_cast<int>(GetParam().startX * 4.0);
  EXPECT_EQ(t->pStart, (platform::Point{sx, 420}));
  EXPECT_EQ(t->rechts, sx + 33);
  EXPECT_EQ(t->oben, 384);
  EXPECT_TRUE(select(row, sx, 420));
  EXPECT_TRUE(select(row, sx + 33, 384));
  EXPECT_FALSE(select(row, sx - 1, 420));
  EXPECT_FALSE(select(row, sx + 34, 420));

  setCell(row, 12, "true");
  EXPECT_EQ(handleAt(row, sx - 14, 434), GetParam().griff);
  EXPECT_EQ(handleAt(row, sx - 15, 420), -1);
  EXPECT_EQ(handleAt(row, sx + 20, 435), -1);

  form_.Ausdehnung = {100, 100, -100, -100};
  ASSERT_TRUE(draw(row));
  EXPECT_DOUBLE_EQ(form_.Ausdehnung.xMin, GetParam().startX);
  EXPECT_DOUBLE_EQ(form_.Ausdehnung.xMax, GetParam().startX + 8.25);
  EXPECT_DOUBLE_EQ(form_.Ausdehnung.yMin, 20.0);
  EXPECT_DOUBLE_EQ(form_.Ausdehnung.yMax, 29.0);
}

INSTANTIATE_TEST_SUITE_P(Alignments, TextAlignment,
                         ::testing::Values(AlignCase{"links", 10.0, 23}, AlignCase{"zentriert", 5.875, 24},
                                           AlignCase{"rechts", 1.75, 25}),
                         [](const ::testing::TestParamInfo<AlignCase>& caseInfo) {
                           return std::string(caseInfo.param.ausrichtung);
                         });

struct UnusableCase {
  const char* name;
  const char* schrift;
  Strings datei;  // empty: no file
  friend std::ostream& operator<<(std::ostream& os, const UnusableCase& c) { return os << c.name; }
};

class UnusableFonts : public Texts, public ::testing::WithParamInterface<UnusableCase> {};

TEST_P(UnusableFonts, DrawAndMillNothingAndBeepOnceWhenMilled) {
  if (GetParam().datei.empty()) {
    std::filesystem::remove(platform::programFolder() / "normal.cxf");
  } else {
    paneltest::writeFont(GetParam().schrift, GetParam().datei);
  }
  form_.DrawLeerfahrten = true;
  const int row = addRow("TEXT", text("AI", GetParam().schrift, "9", "rechts"));
  const auto t = panel::Text_Lesen(form_, form_.DatenStringGrid, row);
  ASSERT_TRUE(t);
  EXPECT_FALSE(t->schrift);
  EXPECT_DOUBLE_EQ(t->breite, 0.0);
  EXPECT_DOUBLE_EQ(t->start.x, 10.0);

  canvas_.moveTo(7, 9);
  ASSERT_TRUE(draw(row));
  // Only the travel line to where the text would start.
  EXPECT_EQ(lines(), Strings{"7,9-80,420"});
  EXPECT_EQ(drawBeeps_, 0);
  EXPECT_TRUE(mill(row).empty());
  EXPECT_EQ(beeps_, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnusableFonts,
    ::testing::Values(UnusableCase{"Missing", "normal.cxf", {}}, UnusableCase{"NoPlainFileName", "../normal.cxf", {}},
                      UnusableCase{"CountPastTheEnd", "normal.cxf",
                                   paneltest::fontFile("normal", "0 0 0", {"[A] 2", "L 0,0,1,1"})},
                      UnusableCase{"CountNoNumber", "normal.cxf", paneltest::fontFile("normal", "0 0 0", {"[A] zwei"})},
                      UnusableCase{"TooShort", "normal.cxf", {"#", "#"}}),
    [](const ::testing::TestParamInfo<UnusableCase>& caseInfo) { return std::string(caseInfo.param.name); });

TEST_F(Texts, ATextBeyondTheLengthLimitIsNeitherDrawnNorMilled) {
  const std::string lang(panel::kTextMaxZeichen + 1, 'I');
  const int row = addRow("TEXT", text(lang.c_str(), "normal.cxf", "9"));
  EXPECT_TRUE(mill(row).empty());
  EXPECT_EQ(beeps_, 1);
  setCell(row, 4, lang.substr(1));
  EXPECT_FALSE(mill(row).empty());
}

// A font whose header applies takes the height per unit and its factors; one whose header does
// not apply (or a built-in name in another case) starts from the same values every time, never
// from the text laid out before.
TEST_F(Texts, MetricsComeFromTheHeaderOrStartFromTheSameValuesForEveryText) {
  paneltest::writeFont("eigen.cxf", paneltest::fontFile("Eigen", "0.5 0.2 1", kGlyphen));
  paneltest::writeFont("fremd.cxf", paneltest::fontFile("anders", "0.5 0.2 1", kGlyphen));
  paneltest::writeFont("Normal.cxf", paneltest::fontFile("normal", "0.5 0.2 1", kGlyphen));
  const int eigen = addRow("TEXT", text("I I", "eigen.cxf", "2"));
  const int fremd = addRow("TEXT", text("I I", "fremd.cxf", "9"));
  const int gross = addRow("TEXT", text("I I", "Normal.cxf", "9"));
  const int script = addRow("TEXT", text("I I", "scriptc.cxf", "5.4"));

  const auto check = [&](int row, double scale, double buchstaben, double wort) {
    const auto t = panel::Text_Lesen(form_, form_.DatenStringGrid, row);
    ASSERT_TRUE(t);
    EXPECT_DOUBLE_EQ(t->metrik.scale, scale) << row;
    EXPECT_DOUBLE_EQ(t->metrik.buchstabenAbstand, buchstaben) << row;
    EXPECT_DOUBLE_EQ(t->metrik.wortAbstand, wort) << row;
  };
  for (int row : {eigen, fremd, gross, script, fremd, eigen, gross}) {
    if (row == eigen) check(row, 2.0, 1.0, 0.4);
    if (row == fremd || row == gross) check(row, 1.0, 2.25, 3.6);
    if (row == script) check(row, 1.0, 0.0, 3.24);
  }
}

TEST_F(Texts, AreDrawnInThePenOfTheirModeWithTravelLinesBetweenStrokesWhenMilled) {
  form_.DrawLeerfahrten = true;
  form_.DrawFraeswege = false;
  const int row = addRow("TEXT", text("AI", "normal.cxf", "9"));
  canvas_.moveTo(7, 9);
  ASSERT_TRUE(draw(row));
  // (10, 20) is pixel (80, 420).
  EXPECT_EQ(lines(), (Strings{"7,9-80,420", "80,420-80,420", "80,420-92,384", "92,384-92,384", "92,384-104,420",
                              "104,420-113,420", "113,420-113,384"}));
  const auto drawn = canvas_.opsOf(CanvasOp::Kind::LineTo);
  EXPECT_EQ(drawn[1].pen.colour, form_.Farben.FarbeLeerfahrt);
  EXPECT_EQ(drawn[1].pen.style, platform::PenStyle::Dot);
  EXPECT_EQ(drawn[2].pen.colour, form_.Farben.FarbeJa);
  EXPECT_EQ(drawn[2].pen.style, platform::PenStyle::Solid);
  EXPECT_EQ(canvas_.penPos(), (platform::Point{113, 384}));

  for (const auto& [mode, colour, style] :
       {std::tuple{"nein", form_.Farben.FarbeNein, platform::PenStyle::Solid},
        std::tuple{"nur zeichnen", form_.Farben.FarbeNurZeichnen, platform::PenStyle::Dot}}) {
    setCell(row, 11, mode);
    canvas_.clear();
    canvas_.moveTo(7, 9);
    ASSERT_TRUE(draw(row));
    const auto strokes = canvas_.opsOf(CanvasOp::Kind::LineTo);
    ASSERT_EQ(strokes.size(), 3u) << mode;
    for (const auto& op : strokes) {
      EXPECT_EQ(op.pen.colour, colour) << mode;
      EXPECT_EQ(op.pen.style, style) << mode;
    }
    // Not milled: no travel lines, and the pen goes back where it was.
    EXPECT_EQ(canvas_.penPos(), (platform::Point{7, 9})) << mode;
  }
}

TEST_F(Texts, ASelectedTextShowsSixHandlesAndTheGrabbedOneInRed) {
  const int row = addRow("TEXT", text("AI", "normal.cxf", "9", "zentriert"));
  setCell(row, 12, "true");
  form_.Griffpunkt = 24;
  ASSERT_TRUE(draw(row));
  const auto squares = canvas_.opsOf(CanvasOp::Kind::FillRect);
  ASSERT_EQ(squares.size(), 7u);
  // Start pixel 63, right edge 96, middle 79; top 384.
  EXPECT_EQ(squares[0].args, (std::vector<int>{43, 430, 53, 440}));
  EXPECT_EQ(squares[4].args, (std::vector<int>{74, 364, 84, 374}));
  EXPECT_EQ(squares[6].args, (std::vector<int>{74, 415, 84, 425}));
  EXPECT_EQ(squares[6].brush.colour, 0x0000FFu);
}

struct EntryCase {
  const char* name;
  std::string typed;
  bool taken;
  friend std::ostream& operator<<(std::ostream& os, const EntryCase& c) { return os << c.name; }
};

class TextEntry : public Texts, public ::testing::WithParamInterface<EntryCase> {};

// The text is copied as typed unless it would break the document (';' separates its cells) or
// holds control characters; then the signal sounds and the row keeps its text.
TEST_P(TextEntry, TakesTheTextAsTypedOrRefusesIt) {
  const int row = panel::Text_Neu(form_);
  panel::StringGrid& props = form_.EigenschaftenStringGrid;
  props.setCells(1, 4, GetParam().typed);
  types_[panel::KonturTyp::Text].takeProperties(form_, row);
  const std::string expected = GetParam().taken ? GetParam().typed : "ABC";
  EXPECT_EQ(form_.DatenStringGrid.Cells(4, row), expected);
  EXPECT_EQ(props.Cells(1, 4), expected);
  EXPECT_EQ(drawBeeps_, GetParam().taken ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextEntry,
    ::testing::Values(EntryCase{"Umlauts", "Kühlung ÄÖÜ 25 °C", true}, EntryCase{"Semicolon", "a;b", false},
                      EntryCase{"Tab", "a\tb", false}, EntryCase{"LineFeed", "a\nb", false},
                      EntryCase{"Delete", "a\x7F", false}, EntryCase{"C1Control", "a\xC2\x85", false},
                      EntryCase{"NotUtf8", "a\xE4", false}, EntryCase{"NotInTheDocumentsCodePage", "a → b", false},
                      EntryCase{"EuroSign", "20 €", true},
                      EntryCase{"AtTheLengthLimit", std::string(panel::kTextMaxZeichen, 'x'), true},
                      EntryCase{"BeyondTheLengthLimit", std::string(panel::kTextMaxZeichen + 1, 'x'), false}),
    [](const ::testing::TestParamInfo<EntryCase>& caseInfo) { return std::string(caseInfo.param.name); });

TEST_F(Texts, TakingPropertiesOverReformatsTheNumbersAndLeavesTheListRowsToTheirEditor) {
  const int row = panel::Text_Neu(form_);
  panel::StringGrid& props = form_.EigenschaftenStringGrid;
  props.setCells(1, 1, "rechts");
  props.setCells(1, 2, "1,5");
  props.setCells(1, 3, "x");
  props.setCells(1, 5, "courier.cxf");
  props.setCells(1, 6, "4");
  props.setCells(1, 7, "2");
  types_[panel::KonturTyp::Text].takeProperties(form_, row);
  const panel::StringGrid& g = form_.DatenStringGrid;
  EXPECT_EQ(g.Cells(1, row), "links");
  EXPECT_EQ(g.Cells(2, row), "1.50");
  EXPECT_EQ(g.Cells(3, row), "0.00");
  EXPECT_EQ(g.Cells(5, row), "normal.cxf");
  EXPECT_EQ(g.Cells(6, row), "4.00");
  EXPECT_EQ(g.Cells(7, row), "0.00");
  EXPECT_EQ(props.Cells(1, 7), "0.00");
}

// The text through the real motion primitives on a controller: between strokes the tool travels
// at the surface, and the safety height is back afterwards, also after a stop inside the text.
class TextOnTheMachine : public paneltest::MachineFixture {};

TEST_F(TextOnTheMachine, TravelsAtTheSurfaceAndPutsTheSafetyHeightBackAfterAStop) {
  writeTestFonts();
  const panel::ObjectTypeTable types = panel::standardObjectTypes();
  const int row = panel::appendObjectRow(form_, "TEXT", text("AI", "normal.cxf", "9"));
  panel::MillContext context{form_, types, motion_};
  ASSERT_TRUE(types[panel::KonturTyp::Text].millRow(context, form_.DatenStringGrid, row));
  // With a safety height of 2 mm every travel would rise by 800 steps first.
  for (const std::string& move : moves()) EXPECT_NE(move, "1 2 0 0 -800");
  EXPECT_DOUBLE_EQ(form_.Abmessungen.Sicherheitsebene, 2.0);

  // The stop is pressed while the text's first move runs.
  backend_->onCall = [this](const std::string& call, int) {
    if (call.rfind("Vektorfahrt_ausfuehren", 0) == 0) bAbbruch_ = true;
  };
  EXPECT_THROW(types[panel::KonturTyp::Text].millRow(context, form_.DatenStringGrid, row), int);
  backend_->onCall = nullptr;
  EXPECT_DOUBLE_EQ(form_.Abmessungen.Sicherheitsebene, 2.0);

  // A travel of another object rises again (the stopped text left the tool at the surface).
  backend_->clearCalls();
  motion_.cncMoveTo(1.0, 1.0);
  ASSERT_FALSE(moves().empty());
  EXPECT_EQ(moves().front(), "1 2 0 0 -800");
}

// A simulated run draws the text as a redraw does, under and over its cuts: the dotted travel
// line to each stroke from the end of the one before, the plunge and the cut the motion
// primitives draw (wide, in the cut colour, solid although a dotted line came just before), and
// the stroke in the pen of its mode. (10, 20) is pixel (80, 420).
TEST_F(TextOnTheMachine, BeingMilledIsDrawnWithItsStrokesAndTheTravelLinesBetweenThem) {
  writeTestFonts();
  form_.SimulationslaufCheckBox.Checked = true;
  form_.DrawLeerfahrten = true;
  const panel::ObjectTypeTable types = panel::standardObjectTypes();
  const int row = panel::appendObjectRow(form_, "TEXT", text("AI", "normal.cxf", "9"));
  panel::MillContext context{form_, types, motion_};
  context.canvas = &canvas_;
  canvas_.moveTo(7, 9);
  ASSERT_TRUE(types[panel::KonturTyp::Text].millRow(context, form_.DatenStringGrid, row));

  const auto pen = [&](const platform::Pen& p) {
    const char* colour = p.colour == form_.Farben.FarbeLeerfahrt ? "travel"
                         : p.colour == form_.Farben.FarbeSchnitt ? "cut"
                         : p.colour == form_.Farben.FarbeJa      ? "stroke"
                                                                 : "?";
    return std::string(colour) + (p.style == platform::PenStyle::Dot ? " dotted " : " solid ") +
           std::to_string(p.width);
  };
  Strings drawn;
  for (const auto& op : canvas_.opsOf(CanvasOp::Kind::LineTo))
    drawn.push_back(std::to_string(op.from.x) + "," + std::to_string(op.from.y) + "-" + std::to_string(op.args[0]) +
                    "," + std::to_string(op.args[1]) + " " + pen(op.pen));
  EXPECT_EQ(drawn,
            (Strings{"7,9-80,420 travel dotted 1", "80,420-80,420 cut solid 2", "80,420-92,384 cut solid 2",
                     "80,420-92,384 stroke solid 1", "92,384-92,384 travel dotted 1", "92,384-92,384 cut solid 2",
                     "92,384-104,420 cut solid 2", "92,384-104,420 stroke solid 1", "104,420-113,420 travel dotted 1",
                     "113,420-113,420 cut solid 2", "113,420-113,384 cut solid 2", "113,420-113,384 stroke solid 1"}));
  // Without travel lines shown the strokes are still drawn, each reached by a plain move.
  form_.DrawLeerfahrten = false;
  canvas_.clear();
  ASSERT_TRUE(types[panel::KonturTyp::Text].millRow(context, form_.DatenStringGrid, row));
  const auto lines = canvas_.opsOf(CanvasOp::Kind::LineTo);
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [&](const CanvasOp& op) { return op.pen.colour == form_.Farben.FarbeJa; }),
            3);
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [&](const CanvasOp& op) { return op.pen.colour == form_.Farben.FarbeLeerfahrt; }),
            0);
}

}  // namespace
