// Reading and writing of panel documents in both file versions.
#include "DocumentFile.h"

#include <algorithm>
#include <string>

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

// A parsed document, applied to the form only once it was read whole.
struct ParsedDocument {
  int version = -1;
  std::vector<std::array<std::string, kKonturSpalten>> rows;  // object rows (version 1: header row first)
  std::optional<TAbmessungen> abmessungen;
  std::optional<TNutzenfertigung> nutzen;
  std::optional<std::array<bool, 6>> checks;
  int nachBearbeitung = 0;
};

bool headerIs(const std::vector<std::string>& t, const char* keyword) { return !t.empty() && t[0] == keyword; }

// The document at `path`, or nullopt with the reason in `reason` (when given).
std::optional<ParsedDocument> parse(const std::filesystem::path& path, bool withHeaderValues, std::string* reason) {
  auto refuse = [reason](std::string text) -> std::optional<ParsedDocument> {
    if (reason != nullptr) *reason = std::move(text);
    return std::nullopt;
  };
  const platform::TextReadResult file = platform::readTextLines(path);
  if (file.status != platform::ReadStatus::Ok) return refuse(file.error);
  const std::vector<std::string>& lines = file.lines;
  if (lines.empty()) return refuse(kLeereDatei);
  ParsedDocument doc;
  doc.version = versionOf(lines);
  std::size_t first = 0;
  if (doc.version == kVersion2) {
    if (lines.size() < kErsteZeileV2) return refuse(kKopfFehlt);
    const auto ab = tokens(lines[1]);
    const auto nf = tokens(lines[2]);
    const auto be = tokens(lines[3]);
    if (!headerIs(ab, "Abmessungen:") || !headerIs(nf, "Nutzenfertigung:") || !headerIs(be, "Bearbeitung:"))
      return refuse(kKopfFehlt);
    if (withHeaderValues) {
      TAbmessungen a;
      a.Plattenbreite = machine::Text_in_Zahl(token(ab, 1));
      a.Plattenhoehe = machine::Text_in_Zahl(token(ab, 2));
      a.Standardtiefe = machine::Text_in_Zahl(token(ab, 3));
      a.setFraeserdurchmesser(machine::Text_in_Zahl(token(ab, 4)));
      a.Sicherheitsebene = machine::Text_in_Zahl(token(ab, 5));
      doc.abmessungen = a;
      TNutzenfertigung n;
      n.xNFAbstand = machine::Text_in_Zahl(token(nf, 1));
      n.yNFAbstand = machine::Text_in_Zahl(token(nf, 2));
      n.xNFAnzahl = NutzenAnzahlBegrenzen(machine::Text_in_Ganzzahl(token(nf, 3)));
      n.yNFAnzahl = NutzenAnzahlBegrenzen(machine::Text_in_Ganzzahl(token(nf, 4)));
      doc.nutzen = n;
      std::array<bool, 6> c{};
      for (std::size_t i = 0; i < c.size(); ++i) c[i] = machine::Text_ist_wahr(token(be, i + 1));
      doc.checks = c;
      const int choice = machine::Text_in_Ganzzahl(token(be, 7));
      doc.nachBearbeitung = choice >= 0 && choice <= 2 ? choice : 0;
    }
    first = kErsteZeileV2;
  } else if (doc.version == kVersion1) {
    if (lines.size() < kErsteZeileV1) return refuse(kKopfFehlt);
    if (withHeaderValues) {
      const auto t = tokens(lines[0]);
      TAbmessungen a;
      a.Plattenbreite = machine::Text_in_Zahl(token(t, 1));
      a.Plattenhoehe = machine::Text_in_Zahl(token(t, 2));
      a.Standardtiefe = -machine::Text_in_Zahl(token(t, 3));
      a.setFraeserdurchmesser(machine::Text_in_Zahl(token(t, 4)));
      a.Sicherheitsebene = machine::Text_in_Zahl(token(t, 5));
      doc.abmessungen = a;
    }
    first = kErsteZeileV1 - 1;  // the table's header row comes first
  } else {
    return refuse(kKeinDokument);
  }
  for (std::size_t i = first; i < lines.size(); ++i) {
    auto cells = zeileZerlegen(lines[i]);
    if (doc.version == kVersion1) negateDepth(cells);
    doc.rows.push_back(std::move(cells));
  }
  return doc;
}

void appendRows(StringGrid& grid, const std::vector<std::array<std::string, kKonturSpalten>>& rows, std::size_t from) {
  if (grid.ColCount() < kKonturSpalten) grid.setColCount(kKonturSpalten);
  int row = grid.RowCount();
  grid.setRowCount(row + static_cast<int>(rows.size() - std::min(from, rows.size())));
  for (std::size_t i = from; i < rows.size(); ++i, ++row)
    for (int col = 0; col < kKonturSpalten; ++col) grid.setCells(col, row, rows[i][static_cast<std::size_t>(col)]);
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
  const std::optional<ParsedDocument> doc = parse(path, true, reason);
  if (!doc) {
    ui.Beep(880, 100);
    return false;
  }
  form.Abmessungen = *doc->abmessungen;
  StringGrid& grid = form.DatenStringGrid;
  if (doc->version == kVersion2) {
    form.Nutzenfertigung = *doc->nutzen;
    const auto& c = *doc->checks;
    form.ReferenzfahrtCheckBox.Checked = c[0];
    form.WZLCheckBox.Checked = c[1];
    form.WSNullpunktCheckBox.Checked = c[2];
    form.SpindelmotorCheckBox.Checked = c[3];
    form.KuehlmittelpumpeCheckBox.Checked = c[4];
    form.AbsaugungCheckBox.Checked = c[5];
    form.nachBearbeitungRadioGroup.ItemIndex = doc->nachBearbeitung;
    // Row 0 (the header) is kept; the object rows are replaced.
    grid.setRowCount(1);
    appendRows(grid, doc->rows, 0);
  } else {
    // A version 1 file brings its own header row.
    grid.setRowCount(0);
    appendRows(grid, doc->rows, 0);
  }
  if (grid.RowCount() < 1) grid.setRowCount(1);
  return true;
}

bool DokumentImportieren(TMainFormState& form, const std::filesystem::path& path, std::string* reason) {
  const std::optional<ParsedDocument> doc = parse(path, false, reason);
  if (!doc) return false;
  appendRows(form.DatenStringGrid, doc->rows, doc->version == kVersion1 ? 1 : 0);
  return true;
}

bool BibliothekLaden(StringGrid& biblio, double& width, double& height, const std::filesystem::path& path,
                     std::string* reason) {
  for (int row = 0; row < biblio.RowCount(); ++row)
    for (int col = 0; col < kKonturSpalten; ++col) biblio.setCells(col, row, std::string());
  biblio.setColCount(kKonturSpalten);
  biblio.setRowCount(1);
  const std::optional<ParsedDocument> doc = parse(path, true, reason);
  if (!doc) return false;
  width = doc->abmessungen->Plattenbreite;
  height = doc->abmessungen->Plattenhoehe;
  appendRows(biblio, doc->rows, doc->version == kVersion1 ? 1 : 0);
  return true;
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
