// Fuzz target for the DIN/ISO reader and module: any bytes as a program must read without a
// crash, overrun or hang. A program that fails leaves nothing and says why with its line; one
// that reads holds only the reader's words, every point finite and within its world window (which
// holds the origin). The path is then painted into a recording canvas, every pixel near the
// bitmap, and run as a simulation whose moves are all finite.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "CheckingMotion.h"
#include "FuzzFile.h"
#include "formats/DinIsoModule.h"
#include "formats/DinIsoReader.h"

namespace {

using fuzz::check;

bool istWort(const std::string& w) {
  return w == "GOO" || w == "GO1" || w == "MO3" || w == "M05" || w == "M30" || w == "F" || w == "T";
}

const fuzz::ScratchFolder& scratch() {
  static const fuzz::ScratchFolder folder("veltris-diniso-fuzz");
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  scratch();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const formats::DinIsoReadResult r = formats::readDinIso(bytes, 1.5, -2.5);
  if (r.failed || r.hint) {
    check(!r.messages.empty() && r.line >= 1);
    check(r.messages.back().text.ends_with("\nZeile " + std::to_string(r.line)));
  }
  if (r.failed) check(r.elements.empty());
  check(r.xMin <= 0.0 && r.yMin <= 0.0 && r.xMax >= 0.0 && r.yMax >= 0.0);
  for (const formats::DinIsoElement& e : r.elements) {
    check(istWort(e.Befehl));
    check(fuzz::finite(e.x, e.y) && std::isfinite(e.z));
    check(e.Argument.size() <= formats::DinIsoElement::kArgumentMax);
    if (e.Befehl != "GOO" && e.Befehl != "GO1") continue;
    check(e.x >= r.xMin && e.x <= r.xMax && e.y >= r.yMin && e.y <= r.yMax);
  }

  scratch().enter();
  formats::TDINISODataModule program;
  program.Ansicht.xShift = 1.5;
  program.Ansicht.yShift = -2.5;
  program.DINISO_Parser(fuzz::asFile(data, size));
  check(program.elements().size() == r.elements.size());
  fuzz::checkPaintAndRun(
      size % 2 == 0, [&](panel::DrawContext& context, panel::TMainFormState&) { program.DINISO_Paint(context); },
      [&](panel::MillContext& mill) { program.DINISO_Ausfuehren(mill); });
  scratch().leave();
  return 0;
}
