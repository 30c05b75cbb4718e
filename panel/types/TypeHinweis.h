// Note rows "---": a row with only its keyword, shown in the order list and the properties grid
// and passed over by drawing, selection and milling.
//
// Thread context: GUI thread. Nothing blocks.
#pragma once

#include "panel/MainFormState.h"

namespace panel {

// Adds a note row; it has no mode and no selection flag of its own until it is shown.
int Hinweis_Neu(TMainFormState& form);
// The caption and the heading row of the properties grid; marks the row selected.
void Hinweis_EigenschaftenAnzeigen(TMainFormState& form, int row);

}  // namespace panel
