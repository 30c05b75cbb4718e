// Reading and writing of panel documents in both file versions.
#include "DocumentFile.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>

#include "machine/TextConvert.h"
#include "panel/Keywords.h"
#include "platform/NumberFormat.h"
#include "platform/TextFile.h"

namespace panel {

namespace {

// Why a readable file is no document, for the box that names it.
constexpr const char* kLeereDatei = "Die Datei ist leer.";
constexpr const char* kKeinDokument = "Die Datei ist kein Tessaly-Dokument (unbekannte Version).";
constexpr const char* kKopfFehlt = "Die Kopfzeilen des Dokuments fehlen oder sind unvollständig.";

constexpr std::size_t kErsteZeileV2 = 10;
constexpr std::size_t kErsteZeileV1 = 3;

// Depth column of each type, by type number; 0 for the types without a depth.
constexpr std::array<int, kKonturTypCount> kTiefenSpalte = {0, 5, 3, 5, 5, 5, 5, 6, 4, 6, 7, 3, 3, 0};

std::vector<std::string> tokens(std::string_view line) {
  std::vector<std::string> out;
  std::size_t pos = 0;
  while (pos < line.size()) {
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    const std::size_t start = pos;
    while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t') ++pos;
    if (pos > start) out.emplace_back(line.substr(start, pos - start));
  }
  return out;
}

std::string token(const std::vector<std::string>& t, std::size_t i) { return i < t.size() ? t[i] : std::string(); }

int versionOf(const std::vector<std::string>& lines) {
  if (lines.empty()) return -1;
  const std::string head = lines[0].substr(0, 11);
  if (head == "Frontplatte") return kVersion1;
  if (head == "[Version 2.") return kVersion2;
  return -1;
}

// Version 1 files store depths as positive values; the table holds them negated. A depth that is
// already negative keeps its sign rather than becoming "--2.00".
void negateDepth(std::array<std::string, kKonturSpalten>& cells) {
  const int typ = keywordTypeNumber(trimBlanks(cells[0]));
  if (typ < 0) return;
  const int col = kTiefenSpalte[static_cast<std::size_t>(typ)];
  if (col == 0) return;
  std::string& depth = cells[static_cast<std::size_t>(col)];
  if (!depth.empty() && depth.front() == '-') return;
  depth.insert(depth.begin(), '-');
}

bool headerIs(const std::vector<std::string>& t, const char* keyword) { return !t.empty() && t[0] == keyword; }

using Zeilen = std::vector<std::string>;

bool refuse(std::string* reason, std::string text) {
  if (reason != nullptr) *reason = std::move(text);
  return false;
}

// A version 2 file has its three header lines, each under its keyword, and the lines up to
// "[Konturen]"; a version 1 file its panel line, the ignored line and the table's header row.
// Each reader checks this before it changes anything.
bool kopfzeilenV2(const Zeilen& lines) {
  return lines.size() >= kErsteZeileV2 && headerIs(tokens(lines[1]), "Abmessungen:") &&
         headerIs(tokens(lines[2]), "Nutzenfertigung:") && headerIs(tokens(lines[3]), "Bearbeitung:");
}
bool kopfzeilenV1(const Zeilen& lines) { return lines.size() >= kErsteZeileV1; }

// Appends the row lines from `first` on; version 1 rows get their depths negated.
void zeilenAnhaengen(StringGrid& grid, const Zeilen& lines, std::size_t first, bool version1) {
  if (grid.ColCount() < kKonturSpalten) grid.setColCount(kKonturSpalten);
  int row = grid.RowCount();
  grid.setRowCount(row + static_cast<int>(lines.size() - std::min(first, lines.size())));
  for (std::size_t i = first; i < lines.size(); ++i, ++row) {
    auto cells = zeileZerlegen(lines[i]);
    if (version1) negateDepth(cells);
    for (int col = 0; col < kKonturSpalten; ++col) grid.setCells(col, row, cells[static_cast<std::size_t>(col)]);
  }
}

// The lines of the file at `path`, or nullopt (with the reason) when it cannot be read or is empty.
std::optional<Zeilen> dateiLaden(const std::filesystem::path& path, std::string* reason) {
  platform::TextReadResult file = platform::readTextLines(path);
  if (file.status != platform::ReadStatus::Ok) {
    refuse(reason, file.error);
    return std::nullopt;
  }
  if (file.lines.empty()) {
    refuse(reason, kLeereDatei);
    return std::nullopt;
  }
  return std::move(file.lines);
}

// Opening, version 2: the document-wide values from the header lines; the object rows replace
// those of the table, whose header row stays.
bool DateiLesenV2(TMainFormState& form, const Zeilen& lines, std::string* reason) {
  if (!kopfzeilenV2(lines)) return refuse(reason, kKopfFehlt);
  const auto ab = tokens(lines[1]);
  const auto nf = tokens(lines[2]);
  const auto be = tokens(lines[3]);
  TAbmessungen& a = form.Abmessungen;
  a.Plattenbreite = machine::Text_in_Zahl(token(ab, 1));
  a.Plattenhoehe = machine::Text_in_Zahl(token(ab, 2));
  a.Standardtiefe = machine::Text_in_Zahl(token(ab, 3));
  a.setFraeserdurchmesser(machine::Text_in_Zahl(token(ab, 4)));
  a.Sicherheitsebene = machine::Text_in_Zahl(token(ab, 5));
  TNutzenfertigung& n = form.Nutzenfertigung;
  n.xNFAbstand = machine::Text_in_Zahl(token(nf, 1));
  n.yNFAbstand = machine::Text_in_Zahl(token(nf, 2));
  n.xNFAnzahl = NutzenAnzahlBegrenzen(machine::Text_in_Ganzzahl(token(nf, 3)));
  n.yNFAnzahl = NutzenAnzahlBegrenzen(machine::Text_in_Ganzzahl(token(nf, 4)));
  CheckBoxState* const boxes[] = {&form.ReferenzfahrtCheckBox,    &form.WZLCheckBox,
                                  &form.WSNullpunktCheckBox,      &form.SpindelmotorCheckBox,
                                  &form.KuehlmittelpumpeCheckBox, &form.AbsaugungCheckBox};
  for (std::size_t i = 0; i < std::size(boxes); ++i) boxes[i]->Checked = machine::Text_ist_wahr(token(be, i + 1));
  const int choice = machine::Text_in_Ganzzahl(token(be, 7));
  form.nachBearbeitungRadioGroup.ItemIndex = choice >= 0 && choice <= 2 ? choice : 0;
  form.DatenStringGrid.setRowCount(1);
  zeilenAnhaengen(form.DatenStringGrid, lines, kErsteZeileV2, false);
  return true;
}

// Opening, version 1: the panel values from the first line (its depth positive); the file brings
// its own header row, so the whole table is replaced. The copies and the check boxes stay.
bool DateiLesenV1(TMainFormState& form, const Zeilen& lines, std::string* reason) {
  if (!kopfzeilenV1(lines)) return refuse(reason, kKopfFehlt);
  const auto t = tokens(lines[0]);
  TAbmessungen& a = form.Abmessungen;
  a.Plattenbreite = machine::Text_in_Zahl(token(t, 1));
  a.Plattenhoehe = machine::Text_in_Zahl(token(t, 2));
  a.Standardtiefe = -machine::Text_in_Zahl(token(t, 3));
  a.setFraeserdurchmesser(machine::Text_in_Zahl(token(t, 4)));
  a.Sicherheitsebene = machine::Text_in_Zahl(token(t, 5));
  form.DatenStringGrid.setRowCount(0);
  zeilenAnhaengen(form.DatenStringGrid, lines, kErsteZeileV1 - 1, true);
  return true;
}

// Importing: only the object rows, appended; no header value is read.
bool DateiImportierenV2(StringGrid& grid, const Zeilen& lines, std::string* reason) {
  if (!kopfzeilenV2(lines)) return refuse(reason, kKopfFehlt);
  zeilenAnhaengen(grid, lines, kErsteZeileV2, false);
  return true;
}

bool DateiImportierenV1(StringGrid& grid, const Zeilen& lines, std::string* reason) {
  if (!kopfzeilenV1(lines)) return refuse(reason, kKopfFehlt);
  zeilenAnhaengen(grid, lines, kErsteZeileV1, true);
  return true;
}

// A library document: its panel size and its object rows, appended to the emptied grid.
bool BibliothekLesenV2(StringGrid& biblio, double& width, double& height, const Zeilen& lines, std::string* reason) {
  if (!kopfzeilenV2(lines)) return refuse(reason, kKopfFehlt);
  const auto ab = tokens(lines[1]);
  width = machine::Text_in_Zahl(token(ab, 1));
  height = machine::Text_in_Zahl(token(ab, 2));
  zeilenAnhaengen(biblio, lines, kErsteZeileV2, false);
  return true;
}

bool BibliothekLesenV1(StringGrid& biblio, double& width, double& height, const Zeilen& lines, std::string* reason) {
  if (!kopfzeilenV1(lines)) return refuse(reason, kKopfFehlt);
  const auto t = tokens(lines[0]);
  width = machine::Text_in_Zahl(token(t, 1));
  height = machine::Text_in_Zahl(token(t, 2));
  zeilenAnhaengen(biblio, lines, kErsteZeileV1, true);
  return true;
}

}  // namespace

int DateiVersion(const std::filesystem::path& path) {
  const platform::TextReadResult file = platform::readTextLines(path);
  if (file.status != platform::ReadStatus::Ok) return -1;
  return versionOf(file.lines);
}

std::array<std::string, kKonturSpalten> zeileZerlegen(std::string_view line) {
  std::array<std::string, kKonturSpalten> cells;
  std::string_view rest = line;
  for (int col = kKonturSpalten - 1; col >= 0; --col) {
    const std::size_t sep = rest.rfind(';');
    if (sep == std::string_view::npos) {
      cells[static_cast<std::size_t>(col)] = std::string(rest);
    } else {
      cells[static_cast<std::size_t>(col)] = std::string(rest.substr(sep + 1));
      rest = rest.substr(0, sep);
    }
  }
  return cells;
}

bool DokumentOeffnen(TMainFormState& form, const std::filesystem::path& path, platform::UiServices& ui,
                     std::string* reason) {
  const std::optional<Zeilen> lines = dateiLaden(path, reason);
  bool read = false;
  if (lines) {
    switch (versionOf(*lines)) {
      case kVersion2:
        read = DateiLesenV2(form, *lines, reason);
        break;
      case kVersion1:
        read = DateiLesenV1(form, *lines, reason);
        break;
      default:
        read = refuse(reason, kKeinDokument);
        break;
    }
  }
  if (!read) {
    ui.Beep(880, 100);
    return false;
  }
  if (form.DatenStringGrid.RowCount() < 1) form.DatenStringGrid.setRowCount(1);
  return true;
}

bool DokumentImportieren(TMainFormState& form, const std::filesystem::path& path, std::string* reason) {
  const std::optional<Zeilen> lines = dateiLaden(path, reason);
  if (!lines) return false;
  switch (versionOf(*lines)) {
    case kVersion2:
      return DateiImportierenV2(form.DatenStringGrid, *lines, reason);
    case kVersion1:
      return DateiImportierenV1(form.DatenStringGrid, *lines, reason);
    default:
      return refuse(reason, kKeinDokument);
  }
}

bool BibliothekLaden(StringGrid& biblio, double& width, double& height, const std::filesystem::path& path,
                     std::string* reason) {
  for (int row = 0; row < biblio.RowCount(); ++row)
    for (int col = 0; col < kKonturSpalten; ++col) biblio.setCells(col, row, std::string());
  biblio.setColCount(kKonturSpalten);
  biblio.setRowCount(1);
  const std::optional<Zeilen> lines = dateiLaden(path, reason);
  if (!lines) return false;
  switch (versionOf(*lines)) {
    case kVersion2:
      return BibliothekLesenV2(biblio, width, height, *lines, reason);
    case kVersion1:
      return BibliothekLesenV1(biblio, width, height, *lines, reason);
    default:
      return refuse(reason, kKeinDokument);
  }
}

std::vector<std::string> DateiSchreiben(const TMainFormState& form) {
  // Values beyond the bound would be written as texts too long to read back.
  auto f2 = [](double value) { return platform::formatFixed(platform::boundedValue(value), 2); };
  auto flag = [](const CheckBoxState& box) { return box.Checked ? std::string("1") : std::string("0"); };
  const TAbmessungen& a = form.Abmessungen;
  const TNutzenfertigung& n = form.Nutzenfertigung;
  std::vector<std::string> lines;
  lines.emplace_back("[Version 2.0]");
  lines.push_back("Abmessungen: " + f2(a.Plattenbreite) + " " + f2(a.Plattenhoehe) + " " + f2(a.Standardtiefe) + " " +
                  f2(a.Fraeserdurchmesser) + " " + f2(a.Sicherheitsebene));
  lines.push_back("Nutzenfertigung: " + f2(n.xNFAbstand) + " " + f2(n.yNFAbstand) + " " +
                  std::to_string(NutzenAnzahlBegrenzen(n.xNFAnzahl)) + " " +
                  std::to_string(NutzenAnzahlBegrenzen(n.yNFAnzahl)));
  lines.push_back("Bearbeitung: " + flag(form.ReferenzfahrtCheckBox) + " " + flag(form.WZLCheckBox) + " " +
                  flag(form.WSNullpunktCheckBox) + " " + flag(form.SpindelmotorCheckBox) + " " +
                  flag(form.KuehlmittelpumpeCheckBox) + " " + flag(form.AbsaugungCheckBox) + " " +
                  std::to_string(form.nachBearbeitungRadioGroup.ItemIndex));
  for (int i = 0; i < 5; ++i) lines.emplace_back("...;");
  lines.emplace_back("[Konturen]");
  const StringGrid& grid = form.DatenStringGrid;
  for (int row = 1; row < grid.RowCount(); ++row) {
    std::string line;
    for (int col = 0; col < kKonturSpalten; ++col) {
      if (col > 0) line += ';';
      line += grid.Cells(col, row);
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

bool DokumentSpeichern(const TMainFormState& form, const std::filesystem::path& path, platform::UiServices& ui) {
  std::string error;
  if (platform::writeTextLinesAtomic(path, DateiSchreiben(form), &error)) return true;
  ui.messageBox(path.string() + "\n" + error, "Tessaly", platform::MsgButtons::Ok, platform::MsgIcon::Warning);
  return false;
}

}  // namespace panel
