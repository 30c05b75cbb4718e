// Registry of the object types: each type's role functions gathered under the names the frame
// looks for, so the frame builds the entry and its fixed call order.
#include "ObjectTypes.h"

#include "panel/ObjectType.h"
#include "panel/types/TypeLinie.h"
#include "panel/types/TypePlan.h"
#include "panel/types/TypePunkt.h"
#include "panel/types/TypeRechteck.h"
#include "panel/types/TypeTool.h"

namespace panel {

namespace {

struct ToolRoles {
  using Record = ToolRecord;
  static constexpr auto Lesen = &Tool_Lesen;
  static constexpr auto Fraesen = &Tool_Fraesen;
  static constexpr auto EigenschaftenAnzeigen = &Tool_EigenschaftenAnzeigen;
  static constexpr auto EigenschaftenUebernehmen = &Tool_EigenschaftenUebernehmen;
};

struct PlanRoles {
  using Record = PlanRecord;
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

// The three rectangle variants differ in their parse and their property rows only.
template <auto Parse, auto Show>
struct RechteckRoles {
  using Record = RechteckRecord;
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

}  // namespace

ObjectTypeTable standardObjectTypes() {
  ObjectTypeTable table;
  table[KonturTyp::Tool] = makeObjectTypeEntry<ToolRoles>();
  table[KonturTyp::Plan] = makeObjectTypeEntry<PlanRoles>();
  table[KonturTyp::Punkt] = makeObjectTypeEntry<PunktRoles>();
  table[KonturTyp::Linie1] = makeObjectTypeEntry<Linie1Roles>();
  table[KonturTyp::Rechteck1] =
      makeObjectTypeEntry<RechteckRoles<&Rechteck1_Lesen, &Rechteck1_EigenschaftenAnzeigen>>();
  table[KonturTyp::Rechteck2] =
      makeObjectTypeEntry<RechteckRoles<&Rechteck2_Lesen, &Rechteck2_EigenschaftenAnzeigen>>();
  table[KonturTyp::Rechteck3] =
      makeObjectTypeEntry<RechteckRoles<&Rechteck3_Lesen, &Rechteck3_EigenschaftenAnzeigen>>();
  return table;
}

}  // namespace panel
