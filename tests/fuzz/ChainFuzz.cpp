// Fuzz target for the whole chain from a document file to the machine: the text is opened as a
// panel document, drawn into a recording canvas, and milled once as a simulation and once live
// against a recording controller. Nothing may crash, overflow or hang; every pixel handed to the
// canvas stays near the bitmap's range; a simulation ends normally and a live run ends normally or
// refuses a move that the controller could not take, and no move sent exceeds the step range.
//
// Input: the first byte picks the switches (multi-up production, drawing switches, maker mode,
// machine geometry, program-memory recording); the rest is the document file.
//
// A document may legitimately ask for a very long job (a pocket of a hundred thousand rings), so
// each input works to a budget: the drawing gives up after a number of canvas calls, and both
// runs are stopped by the stop request after a number of moves, which also walks the stop path.
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "FuzzFile.h"
#include "machine/CommandLayer.h"
#include "machine/FailureCodes.h"
#include "machine/MachineParameters.h"
#include "machine/StepRange.h"
#include "panel/CncMotion.h"
#include "panel/DocumentFile.h"
#include "panel/MillingRun.h"
#include "panel/NewDocument.h"
#include "panel/ObjectTypes.h"
#include "panel/PanelDrawing.h"
#include "support/RecordingCanvas.h"
#include "support/RecordingProtocolBackend.h"
#include "support/ScriptedUi.h"

namespace {

enum Switch : std::uint8_t {
  kNutzen = 1 << 0,
  kNummern = 1 << 1,
  kLeerfahrten = 1 << 2,
  kHersteller = 1 << 3,
  kKeineFraeswege = 1 << 4,
  kFeineSpindel = 1 << 5,  // a gear ratio of a micrometre: every millimetre is 400 million steps
  kFestwertspeicher = 1 << 6,
  kGriff = 1 << 7,
};

constexpr long kCanvasBudget = 30000;
constexpr int kMoveBudget = 600;

using fuzz::check;

// The drawing gave up at its budget.
struct BudgetSpent {};

// Passes every call on to a recording canvas, checks that no coordinate ran off beyond the pixel
// limit, keeps the recording short and ends the drawing at the budget.
class BudgetCanvas final : public platform::Canvas {
 public:
  void setPen(const platform::Pen& pen) override { inner_.setPen(pen); }
  platform::Pen pen() const override { return inner_.pen(); }
  void setBrush(const platform::Brush& brush) override { inner_.setBrush(brush); }
  platform::Brush brush() const override { return inner_.brush(); }
  void setFont(const platform::Font& font) override { inner_.setFont(font); }
  platform::Font font() const override { return inner_.font(); }
  void moveTo(int x, int y) override { inner_.moveTo(at(x), at(y)); }
  void lineTo(int x, int y) override { inner_.lineTo(at(x), at(y)); }
  platform::Point penPos() const override { return inner_.penPos(); }
  void rectangle(int x1, int y1, int x2, int y2) override { inner_.rectangle(at(x1), at(y1), at(x2), at(y2)); }
  void roundRect(int x1, int y1, int x2, int y2, int w, int h) override {
    inner_.roundRect(at(x1), at(y1), at(x2), at(y2), at(w), at(h));
  }
  void fillRect(const platform::Rect& r) override {
    inner_.fillRect({at(r.left), at(r.top), at(r.right), at(r.bottom)});
  }
  void ellipse(int x1, int y1, int x2, int y2) override { inner_.ellipse(at(x1), at(y1), at(x2), at(y2)); }
  void arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override {
    inner_.arc(at(x1), at(y1), at(x2), at(y2), at(x3), at(y3), at(x4), at(y4));
  }
  void polygon(const std::vector<platform::Point>& points) override {
    for (const auto& p : points) {
      at(p.x);
      at(p.y);
    }
    inner_.polygon(points);
  }
  void textOut(int x, int y, const std::string& text) override { inner_.textOut(at(x), at(y), text); }
  platform::Size textExtent(const std::string& text) override { return inner_.textExtent(text); }
  void setPixel(int x, int y, platform::Colour colour) override { inner_.setPixel(at(x), at(y), colour); }
  platform::Colour pixel(int x, int y) override { return inner_.pixel(at(x), at(y)); }
  void copyRect(const platform::Rect& dest, platform::Canvas& from, const platform::Rect& source) override {
    inner_.copyRect(dest, from, source);
  }
  platform::Size size() const override { return inner_.size(); }

 private:
  int at(int v) {
    // A clamped pixel plus a few clamped lengths (a corner's centre and its radius), far inside
    // the int range.
    check(v >= -4 * panel::kPixelLimit && v <= 4 * panel::kPixelLimit);
    if (++calls_ % 1000 == 0) inner_.clear();
    if (calls_ > kCanvasBudget) throw BudgetSpent{};
    return v;
  }

  testsupport::RecordingCanvas inner_{{800, 600}};
  long calls_ = 0;
};

// Time stands still; after the budget of simulated moves the stop button is pressed.
class StoppingClock final : public platform::Clock {
 public:
  explicit StoppingClock(std::atomic<bool>& bAbbruch) : bAbbruch_(bAbbruch) {}
  std::int64_t nowMicros() override { return 0; }
  void sleepMicros(std::int64_t) override {
    if (++sleeps_ == kMoveBudget) bAbbruch_ = true;
  }

 private:
  std::atomic<bool>& bAbbruch_;
  int sleeps_ = 0;
};

const panel::ObjectTypeTable& objectTypes() {
  static const panel::ObjectTypeTable table = panel::standardObjectTypes();
  return table;
}

void draw(panel::TMainFormState& form, std::uint8_t switches) {
  form.DrawNummer = (switches & kNummern) != 0;
  form.DrawLeerfahrten = (switches & kLeerfahrten) != 0;
  form.bHerstellermodus = (switches & kHersteller) != 0;
  form.DrawNF = form.bHerstellermodus;
  form.DrawFraeswege = (switches & kKeineFraeswege) == 0;
  form.iTrefferZeile = 1;
  form.Griffpunkt = (switches & kGriff) != 0 ? 6 : panel::kKeinGriff;
  BudgetCanvas canvas;
  panel::DrawContext context{form, canvas, objectTypes()};
  try {
    panel::DrawTVXFormat(context);
  } catch (const BudgetSpent&) {
  }
}

// One run of the job, simulated or live, against a recording protocol controller.
void mill(const panel::TMainFormState& document, std::uint8_t switches, bool simulate) {
  panel::TMainFormState form = document;
  form.SimulationslaufCheckBox.Checked = simulate;
  machine::Maschinenparameter params;
  machine::Parameter_Vorbelegen(params);
  if ((switches & kFeineSpindel) != 0) params.xUebersetz = params.yUebersetz = params.zUebersetz = 0.000001;
  std::atomic<bool> bAbbruch{false};
  auto backend = std::make_unique<testsupport::RecordingProtocolBackend>();
  backend->onCall = [&bAbbruch](const std::string& call, int number) {
    // "Vektorfahrt_ausfuehren mode index x y z": no count beyond what the controllers take.
    static const std::string kMove = "Vektorfahrt_ausfuehren ";
    if (call.compare(0, kMove.size(), kMove) == 0) {
      std::istringstream fields(call.substr(kMove.size()));
      long long value = 0;
      while (fields >> value) check(value >= -machine::kMaxSchritte && value <= machine::kMaxSchritte);
    }
    if (number == kMoveBudget) bAbbruch = true;
  };
  machine::ControllerBackends backends;
  backends.zelkoCOM = std::move(backend);
  const std::atomic<int> pause{0};
  const std::atomic<bool> recording{!simulate && (switches & kFestwertspeicher) != 0};
  testsupport::RecordingCanvas canvas({800, 600});
  StoppingClock clock(bAbbruch);
  machine::CommandLayer layer(params, backends, bAbbruch);
  panel::CncMotion motion(form, panel::MotionEnvironment{layer, bAbbruch, pause, recording, canvas, clock});
  panel::RunContext context{form, objectTypes(), layer, motion};
  const int code = panel::fraesenAusfuehren(context);
  check(code == 0 || (!simulate && code == machine::STEP_RANGE_ERROR));
}

const fuzz::ScratchFolder& scratch() {
  static const fuzz::ScratchFolder folder("veltris-chain-fuzz");
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  scratch();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t switches = data[0];
  const std::filesystem::path path = fuzz::asFile(data + 1, size - 1);

  testsupport::ScriptedUi ui;
  panel::TMainFormState form;
  panel::StringGrid_Neu(form);
  if (!panel::DokumentOeffnen(form, path, ui)) return 0;
  form.Dokumenttyp = panel::DocumentKind::Panel;
  form.MenuNutzenfertigung.Checked = (switches & kNutzen) != 0;
  check(form.Nutzenfertigung.xNFAnzahl >= 1 && form.Nutzenfertigung.xNFAnzahl <= panel::kMaxNutzenAnzahl);
  check(form.Nutzenfertigung.yNFAnzahl >= 1 && form.Nutzenfertigung.yNFAnzahl <= panel::kMaxNutzenAnzahl);
  check(panel::DateiSchreiben(form).size() == 9 + static_cast<std::size_t>(form.DatenStringGrid.RowCount()));
  // A thousand copies each way are a legitimate job, only a long one: the fuzzer keeps to a few
  // so that it spends its budget on the geometry rather than on repeating it.
  form.Nutzenfertigung.xNFAnzahl = std::min(form.Nutzenfertigung.xNFAnzahl, 2);
  form.Nutzenfertigung.yNFAnzahl = std::min(form.Nutzenfertigung.yNFAnzahl, 2);

  scratch().enter();
  draw(form, switches);
  mill(form, switches, true);
  mill(form, switches, false);
  scratch().leave();
  return 0;
}
