// The status bar and the run panel's dependence on the connection.
#include <string>

#include "MainForm.h"
#include "machine/TraceLog.h"
#include "platform/NumberFormat.h"

namespace app {

namespace {

// Each text is formatted into a buffer of 64 single-byte characters: at most 63 are shown.
constexpr std::size_t kStatusTextZeichen = 63;

const char* const kKeineVerbindung = "--- keine Verbindung ---";
const char* const kKeinePosition = " akt. Position:   -  -  -";

// printf's "%6.2f".
std::string f62(double value) {
  std::string text = platform::formatFixed(value, 2);
  if (text.size() < 6) text.insert(0, 6 - text.size(), ' ');
  return text;
}

// The text cut after kStatusTextZeichen characters, never inside one.
std::string limited(std::string text) {
  std::size_t zeichen = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
    if (zeichen++ == kStatusTextZeichen) {
      text.resize(i);
      break;
    }
  }
  return text;
}

}  // namespace

std::array<std::string, kStatusBarPanels> TMainForm::statusTexte(bool verbunden,
                                                                 const std::function<double(char)>& position) {
  if (!verbunden) {
    services_.params.update([](machine::Maschinenparameter& shared) { shared.Verbindungstext.clear(); });
  }
  const machine::Maschinenparameter p = services_.params.snapshot();
  std::array<std::string, kStatusBarPanels> texte;
  texte[0] = limited(p.Verbindungstext.empty() ? kKeineVerbindung : p.Verbindungstext);
  texte[1] = limited(p.Schnittstellentext);
  if (verbunden && !position) {
    // Left empty: the caller keeps the position it shows.
  } else if (verbunden) {
    try {
      const double x = position('x');
      const double y = position('y');
      const double z = position('z');
      texte[2] = limited(" akt. Position:   " + f62(x) + "   " + f62(y) + "   " + f62(z));
    } catch (int code) {
      // The position display is no place for a box: the run or the menu that asked goes on.
      machine::Protokoll_schreiben("StatusBarAktualisieren(): Position nicht lesbar, Fehlercode " +
                                   std::to_string(code));
      texte[2] = kKeinePosition;
    }
  } else {
    texte[2] = kKeinePosition;
  }
  texte[3] = limited(" Werkstücknullpunkt:   " + f62(p.xWerkstücknullpunkt) + "   " + f62(p.yWerkstücknullpunkt) +
                     "   " + f62(p.zWerkstücknullpunkt) + "    [" + platform::formatFixed(p.zWZLdelta, 2) + "]");
  texte[4] =
      limited(" Parkposition:   " + f62(p.xParkposition) + "   " + f62(p.yParkposition) + "   " + f62(p.zParkposition));
  return texte;
}

void TMainForm::StatusBarAktualisieren() {
  const bool verbunden = bSteuerungVerbunden;
  if (laeuft_ && verbunden) {
    // The controller belongs to the running job; the worker reports the position after it.
    const std::string position = StatusBar[2];
    StatusBar = statusTexte(verbunden, {});
    StatusBar[2] = position;
    return;
  }
  machine::Maschinenparameter p = services_.params.snapshot();
  machine::CommandLayer steuerung(p, backends_, services_.params.bAbbruch);
  StatusBar = statusTexte(verbunden, [&steuerung](char axis) { return steuerung.Position_mm_abfragen(axis); });
}

void TMainForm::RightPageControlOnChange() {
  const bool verbunden = bSteuerungVerbunden;
  FortschrittsanzeigeLabel.Enabled = verbunden;
  FortschrittsanzeigeProgressBarControl.Enabled = verbunden;
  FraesenStartenBitBtn.Enabled = SimulationslaufCheckBox.Checked || verbunden;
  StatusBarAktualisieren();
}

}  // namespace app
