// The command-file module: the stream of lines and the empty paint.
#include "KdfModule.h"

#include "formats/FormatModule.h"
#include "formats/ModuleTiming.h"
#include "machine/CommandLayer.h"
#include "machine/FailureCodes.h"
#include "machine/TraceLog.h"
#include "platform/TextCodec.h"

namespace formats {

void TKDFDataModule::OnCreate() { Ansicht = newView(); }

int TKDFDataModule::KDF_Parser() {
  const ModuleTimer timer;
  Ansicht.xMin = 0.0;
  Ansicht.yMin = 0.0;
  Ansicht.xMax = -0.0;
  Ansicht.yMax = -0.0;
  return timer.elapsed();
}

void TKDFDataModule::KDF_Paint(panel::DrawContext& context) {
  const platform::Size bitmap = context.canvas.size();
  if (bitmap.width <= 0 || bitmap.height <= 0) return;
  drawOwnView(context, Ansicht);
  if (context.copyToScreen) context.copyToScreen();
}

void TKDFDataModule::KDF_Senden(KdfStream& stream) {
  for (std::size_t i = 0; i < stream.lines.size(); ++i) {
    // The controller takes the bytes of the file, not the text view's UTF-8.
    std::string line = platform::utf8ToCp1252(stream.lines[i]);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    if (line.empty() || line.front() == '\'' || line.front() == '/') continue;
    stream.motion.checkStopRequest();
    if (line.size() > machine::CommandLayer::kMaxBefehlszeile) {
      // Cut short, the line would be another command than the one written.
      machine::Protokoll_schreiben("KDF_Senden(): Zeile " + std::to_string(i + 1) + " zu lang");
      if (stream.warn) {
        stream.warn("Die Zeile " + std::to_string(i + 1) + " der Befehlsdatei hat " + std::to_string(line.size()) +
                    " Zeichen; die Steuerung nimmt höchstens " +
                    std::to_string(machine::CommandLayer::kMaxBefehlszeile) + ".\nDie Übertragung wurde abgebrochen.");
      }
      throw machine::OUT_OF_RANGE;
    }
    if (!stream.simulating) stream.steuerung.Befehlszeile_senden(line);
    if (stream.copyToScreen) stream.copyToScreen();
  }
  // A stop made while the last line's motion ran has halted it; the file was not sent to its end,
  // and the run must end as stopped, not go on to its step after machining.
  stream.motion.checkStopRequest();
}

}  // namespace formats
