// The DXF module: reading with its message, the paint and the run.
#include "DxfModule.h"

#include <iostream>
#include <utility>

#include "formats/ModuleTiming.h"
#include "machine/TraceLog.h"

namespace formats {

int TDXFDataModule::DXF_Parser(const std::vector<std::string>& lines, platform::UiServices* report) {
  const ModuleTimer timer;
  DxfReadResult result = readDxf(lines);
  Ansicht.xMin = result.xMin;
  Ansicht.yMin = result.yMin;
  Ansicht.xMax = result.xMax;
  Ansicht.yMax = result.yMax;
  setList(std::move(result.elements));
  // Once per drawing: a code on every entity would otherwise give a line per entity.
  if (result.unknownCodes > 0) std::cerr << "unbekanntes Entities!\n";
  if (!result.skipped.empty()) {
    std::string names;
    for (const auto& [name, count] : result.skipped) names += " " + name + " " + std::to_string(count);
    std::cerr << "DXF: nicht gelesen:" << names << '\n';
    machine::Protokoll_schreiben("DXF_Parser:: nicht gelesen:" + names);
  }
  if (!result.error.empty() && report != nullptr) {
    report->messageBox(result.error, "Tessaly", platform::MsgButtons::Ok, platform::MsgIcon::Warning);
  }
  const int elapsed = timer.elapsed();
  machine::Protokoll_schreiben("DXF_Parser::" + std::to_string(elapsed));
  return elapsed;
}

void TDXFDataModule::DXF_Paint(panel::DrawContext& context) {
  const ModuleTimer timer;
  const platform::Size bitmap = context.canvas.size();
  if (bitmap.width <= 0 || bitmap.height <= 0) return;
  drawOwnView(context, Ansicht);
  drawElements(context, true);
  machine::Protokoll_schreiben("DXF_Paint::" + std::to_string(timer.elapsed()));
  if (context.copyToScreen) context.copyToScreen();
}

void TDXFDataModule::DXF_Ausfuehren(panel::MillContext& context) const {
  const bool simulating = context.form.SimulationslaufCheckBox.Checked;
  walk(context, [&](const DxfElement& element) {
    if (element.Befehl == "MOVETO") {
      if (!simulating) context.motion.cncMoveTo(element.x, element.y);
    } else if (element.Befehl == "LINETO") {
      // A simulation has drawn the cut with the step and only waits the pace.
      if (simulating) {
        context.motion.simulationPause();
      } else {
        context.motion.cncLineTo(1, element.x, element.y, 0.0);
      }
    }
  });
}

}  // namespace formats
