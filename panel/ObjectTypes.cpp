// Registry of the object types: each type's role functions gathered under the names the frame
// looks for, so the frame builds the entry and its fixed call order.
#include "ObjectTypes.h"

#include "panel/ObjectType.h"
#include "panel/types/TypeBiblio.h"
#include "panel/types/TypeHinweis.h"
#include "panel/types/TypeHpgl.h"
#include "panel/types/TypeKbogen.h"
#include "panel/types/TypeKreis.h"
#include "panel/types/TypeLinie.h"
#include "panel/types/TypePlan.h"
#include "panel/types/TypePunkt.h"
#include "panel/types/TypeRechteck.h"
#include "panel/types/TypeText.h"
#include "panel/types/TypeTool.h"
#include "panel/types/TypeVieleck.h"

namespace panel {

namespace {

struct ToolRoles {
  using Record = ToolRecord;
  static int Neu(TMainFormState& form, const NewRowRequest& request) { return Tool_Neu(form, request.toolSlot); }
  static constexpr auto Lesen = &Tool_Lesen;
  static constexpr auto Fraesen = &Tool_Fraesen;
  static constexpr auto EigenschaftenAnzeigen = &Tool_EigenschaftenAnzeigen;
  static constexpr auto EigenschaftenUebernehmen = &Tool_EigenschaftenUebernehmen;
};

struct PlanRoles {
  using Record = PlanRecord;
  static int Neu(TMainFormState& form, const NewRowRequest&) { return Plan_Neu(form); }
  static constexpr auto Lesen = &Plan_Lesen;
  static constexpr auto ZeichneLeerfahrt = &Plan_ZeichneLeerfahrt;
  static constexpr auto ZeichneKontur = &Plan_ZeichneKontur;
  static constexpr auto ZeichneNummer = &Plan_ZeichneNummer;
  static constexpr auto ZeichneFraesweg = &Plan_ZeichneFraesweg;
  static constexpr auto AusdehnungErweitern = &Plan_AusdehnungErweitern;
  static constexpr auto Fraesen = &Plan_Fraesen;
  static constexpr auto Selektieren = &Plan_Selektieren;
  static constexpr auto GriffTesten = &Plan_GriffTesten;
  static constexpr auto EigenschaftenAnzeigen = &Plan_EigenschaftenAnzeigen;
  static constexpr auto EigenschaftenUebernehmen = &Plan_EigenschaftenUebernehmen;
};

struct PunktRoles {
  using Record = PunktRecord;
  static int Neu(TMainFormState& form, const NewRowRequest&) { return Punkt_Neu(form); }
  static constexpr auto Lesen = &Punkt_Lesen;
  static constexpr auto ZeichneLeerfahrt = &Punkt_ZeichneLeerfahrt;
  static constexpr auto ZeichneKontur = &Punkt_ZeichneKontur;
  static constexpr auto ZeichneNummer = &Punkt_ZeichneNummer;
  static constexpr auto ZeichneFraesweg = &Punkt_ZeichneFraesweg;
  static constexpr auto AusdehnungErweitern = &Punkt_AusdehnungErweitern;
  static constexpr auto Fraesen = &Punkt_Fraesen;
  static constexpr auto Selektieren = &Punkt_Selektieren;
  static constexpr auto GriffTesten = &Punkt_GriffTesten;
  static constexpr auto EigenschaftenAnzeigen = &Punkt_EigenschaftenAnzeigen;
  static constexpr auto EigenschaftenUebernehmen = &Punkt_EigenschaftenUebernehmen;
};

struct Linie1Roles {
  using Record = LinieRecord;
  static int Neu(TMainFormState& form, const NewRowRequest&) { return Linie1_Neu(form); }
  static constexpr auto Lesen = &Linie1_Lesen;
  static constexpr auto ZeichneLeerfahrt = &Linie_ZeichneLeerfahrt;
  static constexpr auto ZeichneKontur = &Linie_ZeichneKontur;
  static constexpr auto ZeichneNummer = &Linie_ZeichneNummer;
  static constexpr auto ZeichneFraesweg = &Linie_ZeichneFraesweg;
  static constexpr auto AusdehnungErweitern = &Linie_AusdehnungErweitern;
  static constexpr auto Fraesen = &Linie_Fraesen;
  static constexpr auto Selektieren = &Linie_Selektieren;
  static constexpr auto GriffTesten = &Linie_GriffTesten;
  static constexpr auto EigenschaftenAnzeigen = &Linie1_EigenschaftenAnzeigen;
  static constexpr auto EigenschaftenUebernehmen = &Linie1_EigenschaftenUebernehmen;
};

// The three rectangle variants differ in their new rows, their parse and their property rows only.
template <auto New, auto Parse, auto Show>
struct RechteckRoles {
  using Record = RechteckRecord;
  static int Neu(TMainFormState& form, const NewRowRequest&) { return New(form); }
  static constexpr auto Lesen = Parse;
  static constexpr auto ZeichneLeerfahrt = &Rechteck_ZeichneLeerfahrt;
  static constexpr auto ZeichneKontur = &Rechteck_ZeichneKontur;
  static constexpr auto ZeichneNummer = &Rechteck_ZeichneNummer;
  static constexpr auto ZeichneFraesweg = &Rechteck_ZeichneFraesweg;
  static constexpr auto AusdehnungErweitern = &Rechteck_AusdehnungErweitern;
  static constexpr auto Fraesen = &Rechteck_Fraesen;
  static constexpr auto Selektieren = &Rechteck_Selektieren;
  static constexpr auto GriffTesten = &Rechteck_GriffTesten;
  static constexpr auto EigenschaftenAnzeigen = Show;
  static constexpr auto EigenschaftenUebernehmen = &Rechteck_EigenschaftenUebernehmen;
};

struct VieleckRoles {
  using Record = VieleckRecord;
  static int Neu(TMainFormState& form, const NewRowRequest&) { return Vieleck_Neu(form); }
  static constexpr auto Lesen = &Vieleck_Lesen;
  static constexpr auto ZeichneLeerfahrt = &Vieleck_ZeichneLeerfahrt;
  static constexpr auto ZeichneKontur = &Vieleck_ZeichneKontur;
  static constexpr auto ZeichneNummer = &Vieleck_ZeichneNummer;
  static constexpr auto ZeichneFraesweg = &Vieleck_ZeichneFraesweg;
  static constexpr auto AusdehnungErweitern = &Vieleck_AusdehnungErweitern;
  static constexpr auto Fraesen = &Vieleck_Fraesen;
  static constexpr auto Selektieren = &Vieleck_Selektieren;
  static constexpr auto GriffTesten = &Vieleck_GriffTesten;
  static constexpr auto EigenschaftenAnzeigen = &Vieleck_EigenschaftenAnzeigen;
  static constexpr auto EigenschaftenUebernehmen = &Vieleck_EigenschaftenUebernehmen;
};

struct KreisRoles {
  using Record = KreisRecord;
  static int Neu(TMainFormState& form, const NewRowRequest&) { return Kreis_Neu(form); }
  static constexpr auto Lesen = &Kreis_Lesen;
  static constexpr auto ZeichneLeerfahrt = &Kreis_ZeichneLeerfahrt;
  static constexpr auto ZeichneKontur = &Kreis_ZeichneKontur;
  static constexpr auto ZeichneNummer = &Kreis_ZeichneNummer;
  static constexpr auto ZeichneFraesweg = &Kreis_ZeichneFraesweg;
  static constexpr auto AusdehnungErweitern = &Kreis_AusdehnungErweitern;
  static constexpr auto Fraesen = &Kreis_Fraesen;
  static constexpr auto Selektieren = &Kreis_Selektieren;
  static constexpr auto GriffTesten = &Kreis_GriffTesten;
  static constexpr auto EigenschaftenAnzeigen = &Kreis_EigenschaftenAnzeigen;
  static constexpr auto EigenschaftenUebernehmen = &Kreis_EigenschaftenUebernehmen;
};

struct KbogenRoles {
  using Record = KbogenRecord;
  static int Neu(TMainFormState& form, const NewRowRequest&) { return Kbogen_Neu(form); }
  static constexpr auto Lesen = &Kbogen_Lesen;
  static constexpr auto ZeichneLeerfahrt = &Kbogen_ZeichneLeerfahrt;
  static constexpr auto ZeichneKontur = &Kbogen_ZeichneKontur;
  static constexpr auto ZeichneNummer = &Kbogen_ZeichneNummer;
  static constexpr auto ZeichneFraesweg = &Kbogen_ZeichneFraesweg;
  static constexpr auto AusdehnungErweitern = &Kbogen_AusdehnungErweitern;
  static constexpr auto Fraesen = &Kbogen_Fraesen;
  static constexpr auto Selektieren = &Kbogen_Selektieren;
  static constexpr auto GriffTesten = &Kbogen_GriffTesten;
  static constexpr auto EigenschaftenAnzeigen = &Kbogen_EigenschaftenAnzeigen;
  static constexpr auto EigenschaftenUebernehmen = &Kbogen_EigenschaftenUebernehmen;
};

// A text draws no row number.
struct TextRoles {
  using Record = TextRecord;
  static int Neu(TMainFormState& form, const NewRowRequest&) { return Text_Neu(form); }
  static constexpr auto Lesen = &Text_Lesen;
  static constexpr auto ZeichneLeerfahrt = &Text_ZeichneLeerfahrt;
  static constexpr auto ZeichneKontur = &Text_ZeichneKontur;
  static constexpr auto ZeichneFraesweg = &Text_ZeichneFraesweg;
  static constexpr auto AusdehnungErweitern = &Text_AusdehnungErweitern;
  static constexpr auto Fraesen = &Text_Fraesen;
  static constexpr auto Selektieren = &Text_Selektieren;
  static constexpr auto GriffTesten = &Text_GriffTesten;
  static constexpr auto EigenschaftenAnzeigen = &Text_EigenschaftenAnzeigen;
  static constexpr auto EigenschaftenUebernehmen = &Text_EigenschaftenUebernehmen;
};

// A plot has no tool path of its own.
struct HpglRoles {
  using Record = HpglRecord;
  static int Neu(TMainFormState& form, const NewRowRequest& request) { return Hpgl_Neu(form, request.path); }
  static constexpr auto Lesen = &Hpgl_Lesen;
  static constexpr auto ZeichneLeerfahrt = &Hpgl_ZeichneLeerfahrt;
  static constexpr auto ZeichneKontur = &Hpgl_ZeichneKontur;
  static constexpr auto ZeichneNummer = &Hpgl_ZeichneNummer;
  static constexpr auto AusdehnungErweitern = &Hpgl_AusdehnungErweitern;
  static constexpr auto Fraesen = &Hpgl_Fraesen;
  static constexpr auto Selektieren = &Hpgl_Selektieren;
  static constexpr auto GriffTesten = &Hpgl_GriffTesten;
  static constexpr auto EigenschaftenAnzeigen = &Hpgl_EigenschaftenAnzeigen;
  static constexpr auto EigenschaftenUebernehmen = &Hpgl_EigenschaftenUebernehmen;
};

// A sub-drawing draws its contents as its outline and has no tool path of its own.
struct BiblioRoles {
  using Record = BiblioRecord;
  static int Neu(TMainFormState& form, const NewRowRequest& request) { return Biblio_Neu(form, request.path); }
  static constexpr auto Lesen = &Biblio_Lesen;
  static constexpr auto ZeichneLeerfahrt = &Biblio_ZeichneLeerfahrt;
  static constexpr auto ZeichneKontur = &Biblio_ZeichneKontur;
  static constexpr auto ZeichneNummer = &Biblio_ZeichneNummer;
  static constexpr auto AusdehnungErweitern = &Biblio_AusdehnungErweitern;
  static constexpr auto Fraesen = &Biblio_Fraesen;
  static constexpr auto Selektieren = &Biblio_Selektieren;
  static constexpr auto GriffTesten = &Biblio_GriffTesten;
  static constexpr auto EigenschaftenAnzeigen = &Biblio_EigenschaftenAnzeigen;
  static constexpr auto EigenschaftenUebernehmen = &Biblio_EigenschaftenUebernehmen;
};

}  // namespace

ObjectTypeTable standardObjectTypes() {
  ObjectTypeTable table;
  table[KonturTyp::Tool] = makeObjectTypeEntry<ToolRoles>();
  table[KonturTyp::Plan] = makeObjectTypeEntry<PlanRoles>();
  table[KonturTyp::Punkt] = makeObjectTypeEntry<PunktRoles>();
  table[KonturTyp::Linie1] = makeObjectTypeEntry<Linie1Roles>();
  table[KonturTyp::Rechteck1] =
      makeObjectTypeEntry<RechteckRoles<&Rechteck1_Neu, &Rechteck1_Lesen, &Rechteck1_EigenschaftenAnzeigen>>();
  table[KonturTyp::Rechteck2] =
      makeObjectTypeEntry<RechteckRoles<&Rechteck2_Neu, &Rechteck2_Lesen, &Rechteck2_EigenschaftenAnzeigen>>();
  table[KonturTyp::Rechteck3] =
      makeObjectTypeEntry<RechteckRoles<&Rechteck3_Neu, &Rechteck3_Lesen, &Rechteck3_EigenschaftenAnzeigen>>();
  table[KonturTyp::Vieleck] = makeObjectTypeEntry<VieleckRoles>();
  table[KonturTyp::Kreis] = makeObjectTypeEntry<KreisRoles>();
  table[KonturTyp::Kbogen] = makeObjectTypeEntry<KbogenRoles>();
  table[KonturTyp::Text] = makeObjectTypeEntry<TextRoles>();
  table[KonturTyp::Hpgl] = makeObjectTypeEntry<HpglRoles>();
  table[KonturTyp::Biblio] = makeObjectTypeEntry<BiblioRoles>();
  // A note is only added and shown in the properties grid.
  table[KonturTyp::Hinweis].newRow = [](TMainFormState& form, const NewRowRequest&) { return Hinweis_Neu(form); };
  table[KonturTyp::Hinweis].showProperties = &Hinweis_EigenschaftenAnzeigen;
  return table;
}

}  // namespace panel
