// What the format modules (plots, programs, drawings, command files) share: a view record of
// their own, the element list of the file read last, and the frames of their paint and run.
//
// A module is a copyable value; its list is shared and never changed once read, so a copy taken
// when a run is posted walks the list it was given while the GUI thread reads the next file into
// the module itself.
//
// Thread context: reading and painting on the GUI thread; a run on the thread that runs the job,
// on its own copy. The run blocks while the machine moves and lets failure codes through (2000
// when the user stopped).
#pragma once

#include <memory>
#include <utility>

#include "formats/ElementListe.h"
#include "panel/DrawContext.h"
#include "panel/ImportPath.h"
#include "panel/MillContext.h"
#include "panel/PanelView.h"

namespace formats {

// The state of a new module's view record: pixel fields and shifts 0, world window from (0, 0) to
// (-0, -0), live drawing off.
panel::PanelAnsicht neueAnsicht();

// The paint's own view: layout of the view record from its world window and the bitmap, the
// background and the rulers.
void eigeneAnsichtZeichnen(panel::DrawContext& context, panel::PanelAnsicht& ansicht);

template <class Layout>
class TFormatDataModule {
 public:
  using Elementliste = ElementListe<Layout>;

  TFormatDataModule() { OnCreate(); }

  // The state of a new module: see neueAnsicht; an empty list.
  void OnCreate() {
    Ansicht = neueAnsicht();
    OnDestroy();
  }
  // Frees the list.
  void OnDestroy() { listeSetzen(Elementliste()); }

  const Elementliste& Liste() const { return *liste_; }

  // The module's own view record: its shift is added to every point read, its world window is
  // the extent of the path read last.
  panel::PanelAnsicht Ansicht;

 protected:
  // Takes over a freshly read list; whoever still walks the old one keeps it.
  void listeSetzen(Elementliste liste) { liste_ = std::make_shared<const Elementliste>(std::move(liste)); }

  // Every element as an imported path step in the module's view, with a pen of width 1; with
  // `stiftZurueck` the pen is put back where it was (programs, drawings and command files do).
  void elementeZeichnen(panel::DrawContext& context, bool stiftZurueck = false) const {
    const platform::Point vorher = context.canvas.penPos();
    platform::Pen pen = context.canvas.pen();
    pen.width = 1;
    context.canvas.setPen(pen);
    for (const auto& element : *liste_)
      panel::ImportPfadZeichnen(context, Ansicht, element.Befehl, element.x, element.y);
    if (stiftZurueck) context.canvas.moveTo(vorher.x, vorher.y);
  }

  // The run's walk: before each element the stop request (2000 ends the run as stopped), then the
  // step drawn in the module's view when the run has a bitmap, then `schritt` (the module's move
  // for it). A stop asked for during the last element's move also counts.
  template <class Schritt>
  void laufen(panel::MillContext& context, Schritt&& schritt) const {
    if (context.canvas != nullptr) {
      platform::Pen pen = context.canvas->pen();
      pen.width = 2;
      context.canvas->setPen(pen);
    }
    for (const auto& element : *liste_) {
      context.motion.checkStopRequest();
      if (context.canvas != nullptr) {
        panel::DrawContext zeichnen{context.form, *context.canvas, context.objectTypes};
        panel::ImportPfadZeichnen(zeichnen, Ansicht, element.Befehl, element.x, element.y);
      }
      schritt(element);
    }
    context.motion.checkStopRequest();
  }

 private:
  std::shared_ptr<const Elementliste> liste_;
};

}  // namespace formats
