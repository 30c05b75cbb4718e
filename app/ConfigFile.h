// The configuration file beside the program: recent files, toolbars, display switches and the
// tool table, kept from one run of the program to the next.
//
// Thread context: GUI thread (Konfig_Speichern reports through UiServices). Konfiguration is a
// plain value the caller owns; the functions keep no state. Konfig_Laden and Konfig_Speichern
// block on file I/O.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "panel/ToolTable.h"
#include "platform/UiServices.h"

namespace app {

using panel::filledToolValues;
using panel::kToolCount;
using panel::ToolTable;
using panel::ToolValues;

// What the file stores; each field's name is its key. A default-constructed value holds the
// built-in defaults used when the file does not exist. Texts are UTF-8.
struct Konfiguration {
  // [Files]
  std::string Verzeichnis;  // folder of the last document, with trailing '/'; empty: unset
  std::string File_1;       // latest recent document
  std::string File_2;
  std::string File_3;
  std::string File_4;
  // [ToolBar]: check marks of MenuAbmessungen and MenuNutzenfertigung
  bool Abmessungen = true;
  bool Nutzenfertigung = false;
  // [Anzeige]: the draw buttons
  bool DrawFraeswege = true;
  bool DrawNummer = false;
  bool DrawLeerfahrten = false;
  // [ToolDef]
  ToolTable ToolDef;

  bool operator==(const Konfiguration&) const = default;
};

// Reads the file. A file that is missing gives the built-in defaults; so does one that cannot be
// read (see platform::readFileBytes), whose reason goes into `error` when given. In a
// file that exists every key is looked up by name, letter case ignored, whatever its section;
// the first line with that key wins. Absent keys give an empty text, false or 0 (the tool
// table included, not its defaults); an empty Verzeichnis means the dialogs' start folder is
// left as it was. A value that is not valid UTF-8 is read as Windows-1252.
Konfiguration Konfig_Laden(const std::filesystem::path& path, std::string* error = nullptr);

// Writes the whole file (UTF-8, CR LF) from `konfig`, replacing the old one atomically. A text
// holding CR or LF would break the line structure and is written empty. On failure the old file
// is kept, one warning box shows the system's reason, and the result is false.
bool Konfig_Speichern(const std::filesystem::path& path, const Konfiguration& konfig, platform::UiServices& ui);

// Records a document as the recent file: File_1 becomes its path and Verzeichnis its folder with
// the trailing '/' (empty when the path names none); File_2 to File_4 stay. A path holding CR or
// LF cannot be stored in the file and is refused: nothing changes and the result is false. The
// caller saves the file and updates the recent-file menu.
bool rememberRecentFile(Konfiguration& konfig, std::string_view documentPath);

}  // namespace app
