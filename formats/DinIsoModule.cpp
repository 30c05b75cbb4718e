// The DIN/ISO module: reading with its boxes, the paint and the run.
#include "DinIsoModule.h"

#include <string>
#include <utility>

#include "formats/ModuleTiming.h"
#include "platform/TextFile.h"

namespace formats {

int TDINISODataModule::DINISO_Parser(const std::filesystem::path& path, platform::UiServices* report) {
  const ModuleTimer timer;
  std::string bytes;
  if (!platform::readFileBytes(path, bytes, nullptr)) return 0;
  DinIsoReadResult result = readDinIso(bytes, Ansicht.xShift, Ansicht.yShift);
  readOk_ = !result.failed;
  Ansicht.xMin = result.xMin;
  Ansicht.yMin = result.yMin;
  Ansicht.xMax = result.xMax;
  Ansicht.yMax = result.yMax;
  setList(std::move(result.elements));
  if (report != nullptr) {
    for (const DinIsoMessage& m : result.messages)
      report->messageBox(m.text, m.caption, platform::MsgButtons::Ok, iconFor(m.caption));
  }
  return timer.elapsed();
}

void TDINISODataModule::DINISO_Paint(panel::DrawContext& context) {
  const platform::Size bitmap = context.canvas.size();
  if (bitmap.width <= 0 || bitmap.height <= 0) return;
  drawOwnView(context, Ansicht);
  drawElements(context, true);
  if (context.copyToScreen) context.copyToScreen();
}

void TDINISODataModule::DINISO_Ausfuehren(panel::MillContext& context) const {
  const bool simulating = context.form.SimulationslaufCheckBox.Checked;
  walk(context, [&](const DinIsoElement& element) {
    if (element.Befehl == "GOO") {
      if (!simulating) context.motion.cncLineTo(2, element.x, element.y, element.z);
    } else if (element.Befehl == "GO1") {
      // A simulation has drawn the cut with the step and only waits the pace.
      if (simulating) {
        context.motion.simulationPause();
      } else {
        context.motion.cncLineTo(1, element.x, element.y, element.z);
      }
    }
  });
}

}  // namespace formats
