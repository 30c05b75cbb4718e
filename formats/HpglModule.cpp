// The HPGL module: reading with its messages, the paint and the run.
#include "HpglModule.h"

#include <chrono>
#include <string>
#include <utility>

#include "formats/HpglReader.h"
#include "machine/TraceLog.h"
#include "panel/Extent.h"
#include "platform/TextFile.h"

namespace formats {

namespace {

using Uhr = std::chrono::steady_clock;

int millisekundenSeit(Uhr::time_point start) {
  return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Uhr::now() - start).count());
}

platform::MsgIcon symbolFuer(const std::string& caption) {
  return caption == "H I N W E I S" ? platform::MsgIcon::Information : platform::MsgIcon::Warning;
}

// A plot read for one HPGL/PLT row: a module of its own, never changed after the read.
class HpglPlot final : public panel::EingebetteterPlot {
 public:
  explicit HpglPlot(THPGLDataModule modul) : modul_(std::move(modul)) {}

  bool gelesen() const override { return modul_.gelesen(); }

  panel::Extent welt() const override {
    return panel::Extent{modul_.Ansicht.xMin, modul_.Ansicht.yMin, modul_.Ansicht.xMax, modul_.Ansicht.yMax};
  }

  void zeichnen(panel::DrawContext& context) const override {
    THPGLDataModule modul = modul_;
    modul.Ansicht.liveDrawing = false;
    modul.HPGL_Paint(context, false);
  }

  void fraesen(panel::MillContext& context, double tiefe) const override {
    THPGLDataModule modul = modul_;
    // The pen lifts to the surface and cuts at the row's depth; the steps are drawn as they are
    // cut, in the main window's view.
    modul.Stifthoehe = 0.0;
    modul.Stifttiefe = tiefe;
    modul.Ansicht = context.form.Ansicht;
    modul.Ansicht.liveDrawing = true;
    modul.HPGL_Ausfuehren(context);
  }

 private:
  THPGLDataModule modul_;
};

}  // namespace

THPGLDataModule::THPGLDataModule() = default;

void THPGLDataModule::OnCreate() {
  TFormatDataModule<HpglLayout>::OnCreate();
  Stifthoehe = 0.0;
  Stifttiefe = 0.0;
  gelesen_ = false;
}

int THPGLDataModule::HPGL_Parser(const std::filesystem::path& path, platform::UiServices* melden) {
  const Uhr::time_point start = Uhr::now();
  std::string bytes;
  std::string fehler;
  HpglErgebnis ergebnis;
  const bool offen = platform::readFileBytes(path, bytes, &fehler);
  if (offen) {
    ergebnis = HpglLesen(bytes, Ansicht.xShift, Ansicht.yShift);
  } else if (melden != nullptr) {
    melden->messageBox(path.string() + "\n" + fehler, "F E H L E R", platform::MsgButtons::Ok,
                       platform::MsgIcon::Warning);
  }
  // Whatever the file gave replaces the plot read before: an unreadable file leaves nothing of
  // another one to draw or mill.
  gelesen_ = ergebnis.gelesen;
  Ansicht.xMin = ergebnis.xMin * kMmProPlotterEinheit + Ansicht.xShift;
  Ansicht.yMin = ergebnis.yMin * kMmProPlotterEinheit + Ansicht.yShift;
  Ansicht.xMax = ergebnis.xMax * kMmProPlotterEinheit + Ansicht.xShift;
  Ansicht.yMax = ergebnis.yMax * kMmProPlotterEinheit + Ansicht.yShift;
  listeSetzen(std::move(ergebnis.liste));
  if (melden != nullptr) {
    // However many stray ';' a file holds, it beeps once.
    if (ergebnis.semikolonPiep) melden->Beep(440, 100);
    for (const HpglMeldung& m : ergebnis.meldungen)
      melden->messageBox(m.text, m.caption, platform::MsgButtons::Ok, symbolFuer(m.caption));
  }
  if (!offen || !ergebnis.inGefunden) return 0;
  const int dauer = millisekundenSeit(start);
  machine::Protokoll_schreiben("HPGL_Parser::" + std::to_string(dauer));
  return dauer;
}

void THPGLDataModule::HPGL_Paint(panel::DrawContext& context, bool eigeneAnsicht) {
  const Uhr::time_point start = Uhr::now();
  const platform::Size bitmap = context.canvas.size();
  if (bitmap.width <= 0 || bitmap.height <= 0) return;
  if (eigeneAnsicht) {
    eigeneAnsichtZeichnen(context, Ansicht);
  } else {
    Ansicht = context.form.Ansicht;
  }
  elementeZeichnen(context);
  machine::Protokoll_schreiben("HPGL_Paint::" + std::to_string(millisekundenSeit(start)));
  // A plot inside a panel document is shown with the rest of the panel when that is done.
  if (eigeneAnsicht && context.copyToScreen) context.copyToScreen();
}

void THPGLDataModule::HPGL_Ausfuehren(panel::MillContext& context) const {
  const bool simulation = context.form.SimulationslaufCheckBox.Checked;
  context.motion.setStiftHoehen(Stifthoehe, Stifttiefe);
  bool stiftOben = true;
  laufen(context, [&](const HpglKnoten& element) {
    const std::string& befehl = element.Befehl;
    if (befehl == "UP") {
      if (!simulation) context.motion.cncStiftHebenSenken(1);
      stiftOben = true;
    } else if (befehl == "DOWN") {
      if (!simulation) context.motion.cncStiftHebenSenken(0);
      stiftOben = false;
    } else if (befehl == "MOVETO") {
      if (!simulation) context.motion.cncMoveTo(element.x, element.y);
    } else if (befehl == "LINETO") {
      // In a simulation the primitive draws the cut and waits the pace, as for every other cut.
      context.motion.cncLineTo(1, element.x, element.y, stiftOben ? Stifthoehe : Stifttiefe);
    }
  });
}

panel::PlotLeser HpglPlotLeser() {
  return [](const std::string& path, panel::Shift ursprung,
            platform::UiServices* melden) -> std::shared_ptr<const panel::EingebetteterPlot> {
    THPGLDataModule modul;
    modul.Ansicht.xShift = ursprung.x;
    modul.Ansicht.yShift = ursprung.y;
    modul.HPGL_Parser(path, melden);
    return std::make_shared<const HpglPlot>(std::move(modul));
  };
}

}  // namespace formats
