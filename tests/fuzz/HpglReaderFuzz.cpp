// Fuzz target for the HPGL reader and module: any bytes as a plot file must read without a crash,
// overrun or hang. A plot that reads starts and ends with the pen up, holds only the reader's
// words, and lies within its world window (which holds the origin); a refused one leaves nothing
// and says why. The plot is then painted into a recording canvas, every pixel near the bitmap,
// and run as a simulation whose moves are all finite.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "CheckingMotion.h"
#include "FuzzFile.h"
#include "formats/HpglModule.h"
#include "formats/HpglReader.h"

namespace {

using fuzz::check;
using fuzz::CheckingMotion;
using fuzz::finite;

bool istWort(const std::string& w) {
  return w == "UP" || w == "DOWN" || w == "STIFT" || w == "MOVETO" || w == "LINETO";
}

const fuzz::ScratchFolder& scratch() {
  static const fuzz::ScratchFolder folder("veltris-hpgl-fuzz");
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  scratch();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const formats::HpglReadResult r = formats::readHpgl(bytes, 1.5, -2.5);
  if (!r.complete) {
    check(r.elements.empty());
    check(r.xMin == 0 && r.yMin == 0 && r.xMax == 0 && r.yMax == 0);
    check(!r.messages.empty());
  } else {
    check(r.elements.size() >= 2);
    check(r.elements[0].Befehl == "UP" && r.elements[r.elements.size() - 1].Befehl == "UP");
    check(r.xMin <= 0 && r.yMin <= 0 && r.xMax >= 0 && r.yMax >= 0);
    const double u = formats::kMmPerPlotterUnit;
    for (const formats::HpglElement& e : r.elements) {
      check(istWort(e.Befehl));
      check(finite(e.x, e.y));
      if (e.Befehl != "MOVETO" && e.Befehl != "LINETO") continue;
      check(e.x > 1.5 + (r.xMin - 1.0) * u && e.x < 1.5 + (r.xMax + 1.0) * u);
      check(e.y > -2.5 + (r.yMin - 1.0) * u && e.y < -2.5 + (r.yMax + 1.0) * u);
    }
  }

  scratch().enter();
  formats::THPGLDataModule plot;
  plot.HPGL_Parser(fuzz::asFile(data, size));
  check(plot.elements().size() == r.elements.size());
  fuzz::checkPaintAndRun(
      size % 2 == 0,
      [&](panel::DrawContext& context, panel::TMainFormState& form) {
        plot.HPGL_Paint(context, true);
        // Inside a panel the plot is drawn in the panel's view, however far off it lies.
        form.Ansicht.x0 = 40;
        form.Ansicht.y0 = 400;
        form.Ansicht.dMassstab = 4.0;
        plot.HPGL_Paint(context, false);
      },
      [&](panel::MillContext& mill) { plot.HPGL_Ausfuehren(mill); });
  scratch().leave();
  return 0;
}
