// The frame every object type plugs into: from a type's role functions it builds the dispatch
// entry that parses first and then calls the roles in their fixed order.
//
// An object type T is a class with static role functions over its parsed record `T::Record`:
//   Lesen(const TMainFormState&, const StringGrid&, int row) -> std::optional<Record>   (required)
//   ZeichneLeerfahrt(DrawContext&, const Record&)       travel line to where the cut starts
//   ZeichneKontur(DrawContext&, const Record&)          outline and handles
//   ZeichneNummer(DrawContext&, const Record&, int row) row number at the reference point
//   ZeichneFraesweg(DrawContext&, const Record&)        tool path
//   AusdehnungErweitern(Extent&, const Record&)         grows the drawing extent
//   Fraesen(MillContext&, const Record&)                the milling path
//   Selektieren(const TMainFormState&, const Record&, int x, int y) -> bool   hit test
//   GriffTesten(TMainFormState&, const Record&, int x, int y)                  handle test
//   EigenschaftenAnzeigen(TMainFormState&, int row), EigenschaftenUebernehmen(TMainFormState&, int row)
//   Neu(TMainFormState&, const NewRowRequest&) -> int                       new row of the object buttons
// Every role but Lesen is optional; a type without a role simply lacks that entry (TOOL draws
// nothing, the note neither draws nor mills).
//
// Thread context: as the roles: drawing, selection and properties on the GUI thread, milling on
// the thread that runs the job. The parsed record lives only for the one call.
#pragma once

#include <optional>

#include "machine/TextConvert.h"
#include "panel/DrawContext.h"
#include "panel/MainFormState.h"
#include "panel/MillContext.h"
#include "panel/ObjectTypeTable.h"
#include "panel/RowCells.h"

namespace panel {

template <class T>
concept ObjectTypeRoles = requires(const TMainFormState& form, const StringGrid& grid, int row) {
  typename T::Record;
  { T::Lesen(form, grid, row) } -> std::same_as<std::optional<typename T::Record>>;
};

template <ObjectTypeRoles T>
ObjectTypeEntry makeObjectTypeEntry() {
  using Record = typename T::Record;
  ObjectTypeEntry entry;

  if constexpr (requires(TMainFormState & f, const NewRowRequest& r) {
                  { T::Neu(f, r) } -> std::same_as<int>;
                }) {
    entry.newRow = [](TMainFormState& form, const NewRowRequest& request) { return T::Neu(form, request); };
  }

  if constexpr (requires(DrawContext & c, const Record& r) { T::ZeichneKontur(c, r); }) {
    entry.drawRow = [](DrawContext& context, const StringGrid& grid, int row) {
      const std::optional<Record> record = T::Lesen(context.form, grid, row);
      if (!record) return false;
      // The order is fixed: each travel line starts where the previous object left the pen.
      if constexpr (requires(DrawContext & c, const Record& r) { T::ZeichneLeerfahrt(c, r); }) {
        if (context.form.DrawLeerfahrten) T::ZeichneLeerfahrt(context, *record);
      }
      T::ZeichneKontur(context, *record);
      if constexpr (requires(DrawContext & c, const Record& r) { T::ZeichneNummer(c, r, row); }) {
        if (context.form.DrawNummer) T::ZeichneNummer(context, *record, row);
      }
      if constexpr (requires(DrawContext & c, const Record& r) { T::ZeichneFraesweg(c, r); }) {
        if (context.form.DrawFraeswege) T::ZeichneFraesweg(context, *record);
      }
      if constexpr (requires(Extent & e, const Record& r) { T::AusdehnungErweitern(e, r); }) {
        T::AusdehnungErweitern(context.form.Ausdehnung, *record);
      }
      return true;
    };
  }

  if constexpr (requires(MillContext & c, const Record& r) { T::Fraesen(c, r); }) {
    entry.millRow = parseThenMill(
        [](MillContext& context, const StringGrid& grid, int row) { return T::Lesen(context.form, grid, row); },
        [](MillContext& context, const Record& record) { T::Fraesen(context, record); });
  }

  if constexpr (requires(const TMainFormState& f, const Record& r) {
                  { T::Selektieren(f, r, 0, 0) } -> std::same_as<bool>;
                }) {
    entry.selectRow = [](TMainFormState& form, int row, int x, int y) {
      const std::optional<Record> record = T::Lesen(form, form.DatenStringGrid, row);
      if (!record || !T::Selektieren(form, *record, x, y)) return false;
      form.DatenStringGrid.setCells(12, row, "true");
      return true;
    };
  }

  if constexpr (requires(TMainFormState & f, const Record& r) { T::GriffTesten(f, r, 0, 0); }) {
    entry.testHandles = [](TMainFormState& form, int row, int x, int y) {
      // Only a selected object shows handles that can be grabbed; the others are not parsed.
      if (!machine::Text_ist_wahr(form.DatenStringGrid.Cells(kZelleSelektiert, row))) return;
      const std::optional<Record> record = T::Lesen(form, form.DatenStringGrid, row);
      if (!record) return;
      T::GriffTesten(form, *record, x, y);
    };
  }

  if constexpr (requires(TMainFormState & f) { T::EigenschaftenAnzeigen(f, 0); }) {
    entry.showProperties = [](TMainFormState& form, int row) { T::EigenschaftenAnzeigen(form, row); };
  }
  if constexpr (requires(TMainFormState & f) { T::EigenschaftenUebernehmen(f, 0); }) {
    entry.takeProperties = [](TMainFormState& form, int row) { T::EigenschaftenUebernehmen(form, row); };
  }
  return entry;
}

}  // namespace panel
