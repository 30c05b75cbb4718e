// Fuzz target for the DXF reader and module: any bytes as a drawing must read without a crash,
// overrun or hang. Every element is a travel or a cut to a finite point within the world window
// (which holds the origin); a reading that stops says why with its line. The paths are then
// painted into a recording canvas, every pixel near the bitmap, and run as a simulation whose
// moves are all finite.
#include <cstddef>
#include <cstdint>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "CheckingMotion.h"
#include "FuzzFile.h"
#include "formats/DxfModule.h"
#include "formats/DxfReader.h"
#include "platform/TextCodec.h"
#include "platform/TextFile.h"

namespace {

using fuzz::check;

const fuzz::ScratchFolder& scratch() {
  static const fuzz::ScratchFolder folder("veltris-dxf-fuzz");
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  scratch();
  // The module's lines on codes and entities it passes over would bury the fuzzer's own output.
  std::cerr.rdbuf(nullptr);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // The lines as the text view holds them after the file is opened.
  const std::vector<std::string> lines = platform::splitLines(platform::decodeFileText(bytes));
  const formats::DxfReadResult r = formats::readDxf(lines);
  if (!r.error.empty()) check(r.error.find("\nZeile ") != std::string::npos);
  check(r.xMin <= 0.0 && r.yMin <= 0.0 && r.xMax >= 0.0 && r.yMax >= 0.0);
  for (std::size_t i = 0; i < r.elements.size(); ++i) {
    const formats::DxfElement& e = r.elements[i];
    check(e.Befehl == "MOVETO" || (e.Befehl == "LINETO" && i > 0));
    check(fuzz::finite(e.x, e.y) && std::isfinite(e.z));
    check(e.x >= r.xMin && e.x <= r.xMax && e.y >= r.yMin && e.y <= r.yMax);
  }

  scratch().enter();
  formats::TDXFDataModule drawing;
  drawing.DXF_Parser(lines);
  check(drawing.elements().size() == r.elements.size());
  fuzz::checkPaintAndRun(
      size % 2 == 0, [&](panel::DrawContext& context, panel::TMainFormState&) { drawing.DXF_Paint(context); },
      [&](panel::MillContext& mill) { drawing.DXF_Ausfuehren(mill); });
  scratch().leave();
  return 0;
}
