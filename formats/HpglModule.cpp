// The HPGL module: reading with its messages, the paint and the run.
#include "HpglModule.h"

#include <string>
#include <utility>

#include "formats/HpglReader.h"
#include "formats/ModuleTiming.h"
#include "machine/TraceLog.h"
#include "panel/Extent.h"
#include "platform/TextFile.h"

namespace formats {

namespace {

// A plot read for one HPGL/PLT row: a module of its own, never changed after the read.
class HpglPlot final : public panel::EmbeddedPlot {
 public:
  explicit HpglPlot(THPGLDataModule plot) : plot_(std::move(plot)) {}

  bool readOk() const override { return plot_.readOk(); }

  panel::Extent world() const override {
    return panel::Extent{plot_.Ansicht.xMin, plot_.Ansicht.yMin, plot_.Ansicht.xMax, plot_.Ansicht.yMax};
  }

  void draw(panel::DrawContext& context) const override {
    THPGLDataModule plot = plot_;
    plot.Ansicht.liveDrawing = false;
    plot.HPGL_Paint(context, false);
  }

  const HpglElementList& elements() const { return plot_.elements(); }

  void mill(panel::MillContext& context, double depth) const override {
    THPGLDataModule plot = plot_;
    // The pen lifts to the surface and cuts at the row's depth; the steps are drawn as they are
    // cut, in the main window's view.
    plot.penUpHeight = 0.0;
    plot.penDownDepth = depth;
    plot.Ansicht = context.form.Ansicht;
    plot.Ansicht.liveDrawing = true;
    plot.HPGL_Ausfuehren(context);
  }

 private:
  THPGLDataModule plot_;
};

}  // namespace

THPGLDataModule::THPGLDataModule() = default;

void THPGLDataModule::OnCreate() {
  TFormatDataModule<HpglLayout>::OnCreate();
  penUpHeight = 0.0;
  penDownDepth = 0.0;
  readOk_ = false;
}

int THPGLDataModule::HPGL_Parser(const std::filesystem::path& path, platform::UiServices* report) {
  const ModuleTimer timer;
  std::string bytes;
  std::string error;
  HpglReadResult result;
  const bool readable = platform::readFileBytes(path, bytes, &error);
  if (readable) {
    result = readHpgl(bytes, Ansicht.xShift, Ansicht.yShift);
  } else if (report != nullptr) {
    report->messageBox(path.string() + "\n" + error, "F E H L E R", platform::MsgButtons::Ok,
                       platform::MsgIcon::Warning);
  }
  // Whatever the file gave replaces the plot read before: an unreadable file leaves nothing of
  // another one to draw or mill.
  readOk_ = result.complete;
  Ansicht.xMin = result.xMin * kMmPerPlotterUnit + Ansicht.xShift;
  Ansicht.yMin = result.yMin * kMmPerPlotterUnit + Ansicht.yShift;
  Ansicht.xMax = result.xMax * kMmPerPlotterUnit + Ansicht.xShift;
  Ansicht.yMax = result.yMax * kMmPerPlotterUnit + Ansicht.yShift;
  setList(std::move(result.elements));
  if (report != nullptr) {
    // However many stray ';' a file holds, it beeps once.
    if (result.strayBeep) report->Beep(440, 100);
    for (const HpglMessage& m : result.messages)
      report->messageBox(m.text, m.caption, platform::MsgButtons::Ok, iconFor(m.caption));
  }
  if (!readable || !result.inFound) return 0;
  const int elapsed = timer.elapsed();
  machine::Protokoll_schreiben("HPGL_Parser::" + std::to_string(elapsed));
  return elapsed;
}

void THPGLDataModule::HPGL_Paint(panel::DrawContext& context, bool ownView) {
  const ModuleTimer timer;
  const platform::Size bitmap = context.canvas.size();
  if (bitmap.width <= 0 || bitmap.height <= 0) return;
  if (ownView) {
    drawOwnView(context, Ansicht);
  } else {
    Ansicht = context.form.Ansicht;
  }
  drawElements(context);
  machine::Protokoll_schreiben("HPGL_Paint::" + std::to_string(timer.elapsed()));
  // A plot inside a panel document is shown with the rest of the panel when that is done.
  if (ownView && context.copyToScreen) context.copyToScreen();
}

void THPGLDataModule::HPGL_Ausfuehren(panel::MillContext& context) const {
  const bool simulating = context.form.SimulationslaufCheckBox.Checked;
  context.motion.setStiftHoehen(penUpHeight, penDownDepth);
  bool penIsUp = true;
  walk(context, [&](const HpglElement& element) {
    const std::string& word = element.Befehl;
    if (word == "UP") {
      if (!simulating) context.motion.cncStiftHebenSenken(1);
      penIsUp = true;
    } else if (word == "DOWN") {
      if (!simulating) context.motion.cncStiftHebenSenken(0);
      penIsUp = false;
    } else if (word == "MOVETO") {
      if (!simulating) context.motion.cncMoveTo(element.x, element.y);
    } else if (word == "LINETO") {
      // A simulation has drawn the cut with the step and only waits the pace.
      if (simulating) {
        context.motion.simulationPause();
      } else {
        context.motion.cncLineTo(1, element.x, element.y, penIsUp ? penUpHeight : penDownDepth);
      }
    }
  });
}

panel::PlotReader hpglPlotReader() {
  return [](const std::string& path, panel::Shift origin,
            platform::UiServices* report) -> std::shared_ptr<const panel::EmbeddedPlot> {
    THPGLDataModule plot;
    plot.Ansicht.xShift = origin.x;
    plot.Ansicht.yShift = origin.y;
    plot.HPGL_Parser(path, report);
    return std::make_shared<const HpglPlot>(std::move(plot));
  };
}

const HpglElementList* hpglPlotElements(const panel::EmbeddedPlot& plot) {
  const auto* read = dynamic_cast<const HpglPlot*>(&plot);
  return read != nullptr ? &read->elements() : nullptr;
}

}  // namespace formats
