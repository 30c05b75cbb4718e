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

#include "formats/ElementList.h"
#include "panel/DrawContext.h"
#include "panel/ImportPath.h"
#include "panel/MillContext.h"
#include "panel/PanelView.h"

namespace formats {

// The state of a new module's view record: pixel fields and shifts 0, world window from (0, 0) to
// (-0, -0), live drawing off.
panel::PanelAnsicht newView();

// The paint's own view: layout of the view record from its world window and the bitmap, the
// background and the rulers.
void drawOwnView(panel::DrawContext& context, panel::PanelAnsicht& view);

template <class Layout>
class TFormatDataModule {
 public:
  using List = ElementList<Layout>;

  TFormatDataModule() { OnCreate(); }

  // The state of a new module: see newView; an empty list.
  void OnCreate() {
    Ansicht = newView();
    OnDestroy();
  }
  // Frees the list.
  void OnDestroy() { setList(List()); }

  const List& elements() const { return *list_; }

  // The module's own view record: its shift is added to every point read, its world window is
  // the extent of the path read last.
  panel::PanelAnsicht Ansicht;

 protected:
  // Takes over a freshly read list; whoever still walks the old one keeps it.
  void setList(List list) { list_ = std::make_shared<const List>(std::move(list)); }

  // Every element as an imported path step in the module's view, with a pen of width 1; with
  // `restorePen` the pen is put back where it was (programs, drawings and command files do).
  void drawElements(panel::DrawContext& context, bool restorePen = false) const {
    const platform::Point before = context.canvas.penPos();
    platform::Pen pen = context.canvas.pen();
    pen.width = 1;
    context.canvas.setPen(pen);
    for (const auto& element : *list_)
      panel::ImportPfadZeichnen(context, Ansicht, element.Befehl, element.x, element.y);
    if (restorePen) context.canvas.moveTo(before.x, before.y);
  }

  // The run's walk: before each element the stop request (2000 ends the run as stopped), then the
  // step drawn in the module's view when the run has a bitmap, then `step` (the module's move for
  // it). A stop asked for during the last element's move also counts.
  template <class Step>
  void walk(panel::MillContext& context, Step&& step) const {
    if (context.canvas != nullptr) {
      platform::Pen pen = context.canvas->pen();
      pen.width = 2;
      context.canvas->setPen(pen);
    }
    for (const auto& element : *list_) {
      context.motion.checkStopRequest();
      if (context.canvas != nullptr) {
        panel::DrawContext drawing{context.form, *context.canvas, context.objectTypes};
        panel::ImportPfadZeichnen(drawing, Ansicht, element.Befehl, element.x, element.y);
      }
      step(element);
    }
    context.motion.checkStopRequest();
  }

 private:
  std::shared_ptr<const List> list_;
};

}  // namespace formats
