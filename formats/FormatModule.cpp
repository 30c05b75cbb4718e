// The shared frames of the format modules.
#include "FormatModule.h"

#include "panel/PanelDrawing.h"

namespace formats {

TFormatDataModule::TFormatDataModule(ElementLayout layout) : liste_(std::make_shared<const ElementListe>(layout)) {
  OnCreate();
}

void TFormatDataModule::OnCreate() {
  Ansicht = panel::PanelAnsicht{};
  Ansicht.xMin = 0.0;
  Ansicht.yMin = 0.0;
  Ansicht.xMax = -0.0;
  Ansicht.yMax = -0.0;
  Ansicht.liveDrawing = false;
  OnDestroy();
}

void TFormatDataModule::OnDestroy() { listeSetzen(ElementListe(liste_->layout(), liste_->maxElemente())); }

void TFormatDataModule::eigeneAnsichtZeichnen(panel::DrawContext& context) {
  platform::Canvas& canvas = context.canvas;
  panel::PanelLayoutBerechnen(Ansicht, canvas);
  panel::PanelHintergrundZeichnen(canvas, Ansicht.x0, Ansicht.y0, Ansicht.width, Ansicht.height);
  panel::LinealeZeichnen(canvas, Ansicht.x0, Ansicht.y0, Ansicht.width, Ansicht.height, Ansicht.dMassstab, Ansicht.xMin,
                         Ansicht.yMin, Ansicht.xMax, Ansicht.yMax);
}

void TFormatDataModule::elementeZeichnen(panel::DrawContext& context) const {
  platform::Pen pen = context.canvas.pen();
  pen.width = 1;
  context.canvas.setPen(pen);
  for (const ElementKnoten& element : *liste_)
    panel::ImportPfadZeichnen(context, Ansicht, element.Befehl, element.x, element.y);
}

}  // namespace formats
