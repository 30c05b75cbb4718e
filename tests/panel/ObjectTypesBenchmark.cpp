// Benchmarks of the object types on a generated document of 10,000 rows (TOOL, PLAN, PUNKT,
// LINIE1 and the three rectangles with all their options): a full redraw onto the Qt canvas at
// 1024 x 768, and the first drawing on a new one; editing it with the mouse (a press that selects
// a rectangle and rebuilds the grids, one mouse move of a drag, one hover move); and a simulated
// run at pace 0 with a null controller connected (moves per second). Runs on Qt's offscreen
// platform; not part of the test run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QGuiApplication>
#include <array>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "machine/CommandLayer.h"
#include "machine/MachineParameters.h"
#include "panel/CncMotion.h"
#include "panel/DrawContext.h"
#include "panel/HandleDrag.h"
#include "panel/MillingRun.h"
#include "panel/ObjectTypes.h"
#include "panel/OrderGrid.h"
#include "panel/PanelDrawing.h"
#include "panel/PropertyGrid.h"
#include "panel/PropertyRows.h"
#include "panel/RowCells.h"
#include "panel/Selection.h"
#include "platform/Clock.h"
#include "platform/ProgramPath.h"
#include "platform/qt/QtCanvas.h"

namespace {

constexpr int kRows = 10000;

std::string mm(double v) { return panel::cellText(v); }

// 100 columns of 5 mm by 100 rows of 4 mm over a 520 x 420 mm panel; the kinds take turns and
// the rectangles cycle through every compensation, direction and lead-in.
panel::TMainFormState generatedDocument() {
  panel::TMainFormState form;
  form.Dokumenttyp = panel::DocumentKind::Panel;
  form.Abmessungen.Plattenbreite = 520.0;
  form.Abmessungen.Plattenhoehe = 420.0;
  const std::array<const char*, 5> korrekturen = {"innen", "innen-tasche", "aussen", "aussen-steg", "mitte"};
  for (int i = 0; i < kRows; ++i) {
    const double x = (i % 100) * 5.0;
    const double y = (i / 100) * 4.0;
    const int variante = i / 7;
    const std::string eintauchen = variante % 2 == 0 ? "ja" : "nein";
    const std::string richtung = variante % 3 == 0 ? "Gegenuhrzeigersinn" : "Uhrzeigersinn";
    const std::string korrektur = korrekturen[static_cast<std::size_t>(variante % 5)];
    const std::string tiefe = "-1.00";
    switch (i % 7) {
      case 0:
        panel::appendObjectRow(form, "TOOL", {{1, "300"}, {2, "500"}, {3, "700"}, {4, "150"}});
        break;
      case 1:
        panel::appendObjectRow(form, "PLAN", {{1, mm(x + 5)}, {2, mm(y + 5)}, {3, "10.00"}, {4, "8.00"}, {5, tiefe}});
        break;
      case 2:
        panel::appendObjectRow(form, "PUNKT", {{1, mm(x)}, {2, mm(y)}, {3, tiefe}});
        break;
      case 3:
        panel::appendObjectRow(form, "LINIE1",
                               {{1, mm(x)},
                                {2, mm(y)},
                                {3, mm(x + 8)},
                                {4, mm(y + 3)},
                                {5, tiefe},
                                {8, eintauchen},
                                {9, richtung},
                                {10, "mitte"}});
        break;
      default: {
        static constexpr std::array<const char*, 3> kKeywords = {"RECHTECK1", "RECHTECK2", "RECHTECK3"};
        const int typ = i % 7 - 4;
        const bool mitte = typ == 1;
        panel::appendObjectRow(form, kKeywords[static_cast<std::size_t>(typ)],
                               {{1, mm(mitte ? x + 10 : x)},
                                {2, mm(mitte ? y + 10 : y)},
                                {3, mm(typ == 0 ? x + 20 : 20)},
                                {4, mm(typ == 0 ? y + 20 : 20)},
                                {5, tiefe},
                                {6, variante % 4 == 0 ? "3.00" : "0.00"},
                                {8, eintauchen},
                                {9, richtung},
                                {10, korrektur}});
        break;
      }
    }
  }
  // Rows appended as new objects are selected; a loaded document is not.
  for (int row = 1; row <= kRows; ++row) form.DatenStringGrid.setCells(12, row, "false");
  return form;
}

// Points the trace log at a folder of its own for the life of the benchmark.
struct TraceFolder {
  TraceFolder() : dir(std::filesystem::temp_directory_path() / ("veltris-bench-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(dir);
    platform::setProgramFolder(dir);
  }
  ~TraceFolder() { std::filesystem::remove_all(dir); }
  std::filesystem::path dir;
};

// A redraw after an edit: the window's bitmap has drawn the document before.
void BM_RedrawDocument(benchmark::State& state) {
  TraceFolder folder;
  panel::TMainFormState form = generatedDocument();
  form.DrawLeerfahrten = state.range(0) != 0;
  form.DrawNummer = state.range(0) != 0;
  const panel::ObjectTypeTable types = panel::standardObjectTypes();
  platform::QtCanvas canvas({1024, 768});
  panel::DrawContext context{form, canvas, types};
  panel::DrawTVXFormat(context);
  for (auto _ : state) {
    panel::DrawTVXFormat(context);
    benchmark::DoNotOptimize(canvas.penPos());
  }
  state.counters["rows"] = kRows;
}
BENCHMARK(BM_RedrawDocument)->Arg(0)->Arg(1)->ArgNames({"alleSchalter"})->Unit(benchmark::kMillisecond);

// The first drawing of the document on a new bitmap, as after opening it.
void BM_FirstDrawing(benchmark::State& state) {
  TraceFolder folder;
  panel::TMainFormState form = generatedDocument();
  form.DrawLeerfahrten = state.range(0) != 0;
  form.DrawNummer = state.range(0) != 0;
  const panel::ObjectTypeTable types = panel::standardObjectTypes();
  for (auto _ : state) {
    state.PauseTiming();
    auto canvas = std::make_unique<platform::QtCanvas>(platform::Size{1024, 768});
    state.ResumeTiming();
    panel::DrawContext context{form, *canvas, types};
    panel::DrawTVXFormat(context);
    benchmark::DoNotOptimize(canvas->penPos());
    state.PauseTiming();
    canvas.reset();
    state.ResumeTiming();
  }
  state.counters["rows"] = kRows;
}
BENCHMARK(BM_FirstDrawing)->Arg(0)->Arg(1)->ArgNames({"alleSchalter"})->Unit(benchmark::kMillisecond);

// The document laid out on the canvas, and the pixel of (10, 10) mm, where objects overlap, for
// the press.
struct EditingBench {
  EditingBench() : form(generatedDocument()), types(panel::standardObjectTypes()), canvas({1024, 768}) {
    panel::DrawContext c = context();
    panel::DrawTVXFormat(c);
    press = {panel::mm2PixelX(form.Ansicht, 10.0), panel::mm2PixelY(form.Ansicht, 10.0)};
  }
  panel::DrawContext context() { return panel::DrawContext{form, canvas, types}; }
  // What the window does on a press: select, rebuild the order grid, show the row, grab.
  void pressAt(platform::Point p) {
    panel::SelectiereObject(form, types, p.x, p.y);
    panel::ReihenfolgeAufbauen(form);
    panel::DrawContext c = context();
    panel::EigenschaftenAktualisieren(c);
    panel::ReihenfolgeKnoepfe(form);
    panel::GriffpunktSuchen(form, types, p.x, p.y);
  }

  TraceFolder folder;
  panel::TMainFormState form;
  panel::ObjectTypeTable types;
  platform::QtCanvas canvas;
  platform::Point press;
};

void BM_PressSelectsAndRebuilds(benchmark::State& state) {
  EditingBench b;
  for (auto _ : state) b.pressAt(b.press);
  if (b.form.Griffpunkt == panel::kKeinGriff) state.SkipWithError("nothing grabbed");
}
BENCHMARK(BM_PressSelectsAndRebuilds)->Unit(benchmark::kMillisecond);

// One mouse move of a drag: the grabbed handle (of the last object under the press) follows the
// mouse, the panel and the properties grid are redrawn.
void BM_DragMove(benchmark::State& state) {
  EditingBench b;
  b.pressAt(b.press);
  if (b.form.Griffpunkt == panel::kKeinGriff) state.SkipWithError("nothing grabbed");
  int step = 0;
  for (auto _ : state) {
    panel::DrawContext c = b.context();
    panel::esgDragDrop(c, b.press.x + step % 40, b.press.y - step % 30);
    ++step;
  }
}
BENCHMARK(BM_DragMove)->Unit(benchmark::kMillisecond);

// One mouse move without a button over the selected rectangle: the handle search alone.
void BM_HoverSearch(benchmark::State& state) {
  EditingBench b;
  b.pressAt(b.press);
  int step = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(panel::GriffpunktSuchen(b.form, b.types, b.press.x + step % 40, b.press.y));
    ++step;
  }
}
BENCHMARK(BM_HoverSearch)->Unit(benchmark::kMicrosecond);

// Accepts everything and moves nothing.
class NullProtocolBackend final : public machine::ProtocolBackend {
 public:
  void Modell_setzen(int) override {}
  void Init(int, int) override {}
  void Connect() override {}
  void UnInit() override {}
  void Reset() override {}
  std::string Version_abfragen() override { return {}; }
  int Wert_lesen(char) override { return 0; }
  void Ansteuersignale_einstellen(int) override {}
  void Halb_Vollschrittbetrieb_einstellen(int, int) override {}
  void Startgeschwindigkeit_einstellen(int) override {}
  void Endgeschwindigkeit_einstellen(int, int) override {}
  void Rampenlaenge_einstellen(int) override {}
  void Referenzgeschwindigkeit_einstellen(int) override {}
  void Referenzoffset_einstellen(char, int) override {}
  void Referenzfahrt_ausfuehren(const std::string&) override {}
  void Vektorfahrt_ausfuehren(int, int, int, int, int) override {}
  void Achsen_anhalten() override {}
  void Achsen_sofort_stoppen() override {}
  void Ausgangssignal_setzen(int, int) override {}
  void Programmdurchlaeufe_hinterlegen(int) override {}
  char letzteAntwortBeginn() override { return 0x06; }
  void WaitResp(int) override {}
  std::string SendenUndWarten(const std::string&, int) override { return {}; }
};

// Counts the moves it passes on: travels, straight moves and the straight moves of arcs.
class CountingMotion final : public panel::MotionPrimitives {
 public:
  explicit CountingMotion(panel::CncMotion& inner) : inner_(inner) {}
  void cncMoveTo(double x, double y) override {
    ++moves;
    inner_.cncMoveTo(x, y);
  }
  void cncLineTo(int speedIndex, double x, double y, double z) override {
    ++moves;
    inner_.cncLineTo(speedIndex, x, y, z);
  }
  void cncKreisLineTo(int direction, double cx, double cy, double radius, double a1, double a2, double z) override {
    ++arcs;
    inner_.cncKreisLineTo(direction, cx, cy, radius, a1, a2, z);
  }
  void cncBohrspindel(int on) override { inner_.cncBohrspindel(on); }
  void cncKuehlmittelpumpe(int on) override { inner_.cncKuehlmittelpumpe(on); }
  void cncAbsaugung(int on) override { inner_.cncAbsaugung(on); }
  void cncStiftHebenSenken(int raise) override { inner_.cncStiftHebenSenken(raise); }
  void setStiftHoehen(double penUp, double penDown) override { inner_.setStiftHoehen(penUp, penDown); }
  void cncGotoWSNullpunkt() override { inner_.cncGotoWSNullpunkt(); }
  void cncGotoParkposition() override { inner_.cncGotoParkposition(); }
  void checkStopRequest() override { inner_.checkStopRequest(); }
  void simulationPause() override { inner_.simulationPause(); }

  long moves = 0;
  long arcs = 0;

 private:
  panel::CncMotion& inner_;
};

void BM_SimulatedRun(benchmark::State& state) {
  TraceFolder folder;
  panel::TMainFormState form = generatedDocument();
  form.SimulationslaufCheckBox.Checked = true;
  const panel::ObjectTypeTable types = panel::standardObjectTypes();
  platform::QtCanvas canvas({1024, 768});
  {
    panel::DrawContext draw{form, canvas, types};
    panel::DrawTVXFormat(draw);
  }
  machine::Maschinenparameter params;
  machine::Parameter_Vorbelegen(params);
  params.Modul = 5;
  machine::ControllerBackends backends;
  backends.zelkoCOM = std::make_unique<NullProtocolBackend>();
  std::atomic<bool> abbruch{false};
  std::atomic<int> pause{0};
  std::atomic<bool> festwertspeicher{false};
  machine::CommandLayer layer(params, backends, abbruch);
  panel::CncMotion cnc(
      form, panel::MotionEnvironment{layer, abbruch, pause, festwertspeicher, canvas, platform::systemClock()});
  CountingMotion motion(cnc);
  panel::RunContext run{form, types, layer, motion};
  run.bSteuerungVerbunden = true;
  for (auto _ : state) {
    if (panel::fraesenAusfuehren(run) != 0) state.SkipWithError("the run failed");
  }
  state.counters["moves"] = benchmark::Counter(static_cast<double>(motion.moves), benchmark::Counter::kIsRate);
  state.counters["arcs"] = benchmark::Counter(static_cast<double>(motion.arcs), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SimulatedRun)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
