// The panel document file (.tvx): the version test, opening, importing, loading a library
// document for a sub-drawing, and saving.
//
// Thread context: GUI thread (the document commands), except the library loading, which also runs
// on the thread that draws or mills a sub-drawing, on its own grid. Blocks on file I/O. Reading
// never half-applies: a file is read whole and its header lines checked before anything changes.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "panel/MainFormState.h"
#include "panel/StringGrid.h"
#include "platform/UiServices.h"

namespace panel {

inline constexpr int kVersion1 = 10;
inline constexpr int kVersion2 = 20;

// 10 for a version 1 document ("Frontplatte..."), 20 for version 2 ("[Version 2."), -1 otherwise
// (also for a file that cannot be read).
int DateiVersion(const std::filesystem::path& path);

// The 13 cells of a row line, taken from the end: surplus separators lose the leftmost fields, and
// with fewer separators the first field fills every remaining column down to 0.
std::array<std::string, kKonturSpalten> zeileZerlegen(std::string_view line);

// The readers refuse a file that cannot be read (the system's text says why; see
// platform::readFileBytes for what is never read) and one that is no panel document: empty,
// without a known version line, or without its header lines. A refusal gives false, changes
// nothing, and puts the reason (German, for a box that names the file) into `reason` when given.

// Opens a document into the table and the document-wide values. A refused file also beeps at
// 880 Hz for 100 ms.
bool DokumentOeffnen(TMainFormState& form, const std::filesystem::path& path, platform::UiServices& ui,
                     std::string* reason = nullptr);

// Appends the object rows of another document after the last row; the document-wide values stay.
bool DokumentImportieren(TMainFormState& form, const std::filesystem::path& path, std::string* reason = nullptr);

// The library grid of a sub-drawing: emptied to its header row, then filled with the rows of the
// document at `path`; `width` and `height` receive that document's panel size. A refused file
// leaves the grid empty.
bool BibliothekLaden(StringGrid& biblio, double& width, double& height, const std::filesystem::path& path,
                     std::string* reason = nullptr);

// Writes the document as a version 2 file, replacing any file of that name atomically. A failure
// leaves the old file, shows a warning box with the system's text (caption "Tessaly") and gives
// false.
bool DokumentSpeichern(const TMainFormState& form, const std::filesystem::path& path, platform::UiServices& ui);

// The lines DokumentSpeichern writes.
std::vector<std::string> DateiSchreiben(const TMainFormState& form);

}  // namespace panel
