// Reading and writing of the configuration file and the recent-file record.
#include "ConfigFile.h"

#include <string>
#include <vector>

#include "machine/TextConvert.h"
#include "machine/TraceLog.h"
#include "platform/NameValueList.h"
#include "platform/NumberFormat.h"
#include "platform/TextCodec.h"
#include "platform/TextFile.h"

namespace app {

namespace {

constexpr const char* kCaption = "Tessaly";

struct TextKey {
  const char* key;
  std::string Konfiguration::*member;
};
struct SwitchKey {
  const char* key;
  bool Konfiguration::*member;
};
struct ToolKey {
  const char* name;
  ToolValues ToolTable::*member;
};

// Keys in the order they are written.
const TextKey kFilesKeys[] = {
    {"Verzeichnis", &Konfiguration::Verzeichnis}, {"File_1", &Konfiguration::File_1},
    {"File_2", &Konfiguration::File_2},           {"File_3", &Konfiguration::File_3},
    {"File_4", &Konfiguration::File_4},
};
const SwitchKey kToolBarKeys[] = {
    {"Abmessungen", &Konfiguration::Abmessungen},
    {"Nutzenfertigung", &Konfiguration::Nutzenfertigung},
};
const SwitchKey kAnzeigeKeys[] = {
    {"DrawFraeswege", &Konfiguration::DrawFraeswege},
    {"DrawNummer", &Konfiguration::DrawNummer},
    {"DrawLeerfahrten", &Konfiguration::DrawLeerfahrten},
};
const ToolKey kToolKeys[] = {
    {"TStartfreq", &ToolTable::TStartfreq},
    {"TArbeitsfreq", &ToolTable::TArbeitsfreq},
    {"TEilfreq", &ToolTable::TEilfreq},
    {"TRampenlaenge", &ToolTable::TRampenlaenge},
};

// "TStartfreq[3]"
std::string toolKey(const char* name, int n) { return std::string(name) + "[" + platform::formatInt(n) + "]"; }

bool holdsLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// The values of the file. Their encoding is decided value by value rather than for the whole
// file, so that a folder name written by an older Windows-1252 file survives next to UTF-8 values
// that an editor has added.
class KeyValues {
 public:
  explicit KeyValues(const std::vector<std::string>& lines) : list_(lines) {}

  std::string_view raw(std::string_view key) const { return list_.value(key); }

  std::string text(std::string_view key) const {
    const std::string_view value = raw(key);
    return platform::isValidUtf8(value) ? std::string(value) : platform::cp1252ToUtf8(value);
  }

 private:
  platform::NameValueList list_;
};

class FileBuilder {
 public:
  void line(std::string_view text) {
    bytes_.append(text);
    bytes_.append("\r\n");
  }
  void entry(std::string_view key, std::string_view value) {
    bytes_.append(key);
    bytes_.push_back('=');
    line(value);
  }
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

}  // namespace

Konfiguration Konfig_Laden(const std::filesystem::path& path, std::string* error) {
  // The reader decodes value by value, so the file is split as bytes: CR and LF never occur
  // inside a UTF-8 or Windows-1252 character.
  std::string bytes;
  std::string reason;
  if (!platform::readFileBytes(path, bytes, &reason)) {
    std::error_code ec;
    if (error && std::filesystem::exists(path, ec)) *error = reason;
    return Konfiguration{};
  }
  const KeyValues kv(platform::splitLines(bytes));

  Konfiguration konfig;
  for (const auto& k : kFilesKeys) konfig.*k.member = kv.text(k.key);
  for (const auto& k : kToolBarKeys) konfig.*k.member = machine::Text_ist_wahr(kv.raw(k.key));
  for (const auto& k : kAnzeigeKeys) konfig.*k.member = machine::Text_ist_wahr(kv.raw(k.key));
  for (int n = 0; n < kToolCount; ++n) {
    for (const auto& k : kToolKeys) {
      (konfig.ToolDef.*k.member)[n] = machine::Text_in_Ganzzahl(kv.raw(toolKey(k.name, n)));
    }
  }
  return konfig;
}

bool Konfig_Speichern(const std::filesystem::path& path, const Konfiguration& konfig, platform::UiServices& ui) {
  machine::Protokoll_schreiben("Konfig_Speichern()");
  FileBuilder file;
  file.line("[Files]");
  for (const auto& k : kFilesKeys) {
    const std::string& value = konfig.*k.member;
    file.entry(k.key, holdsLineBreak(value) ? std::string_view() : std::string_view(value));
  }
  file.line("");
  file.line("[ToolBar]");
  for (const auto& k : kToolBarKeys) file.entry(k.key, konfig.*k.member ? "1" : "0");
  file.line("");
  file.line("[Anzeige]");
  for (const auto& k : kAnzeigeKeys) file.entry(k.key, konfig.*k.member ? "1" : "0");
  file.line("");
  file.line("[ToolDef]");
  for (int n = 0; n < kToolCount; ++n) {
    machine::Protokoll_schreiben("[ToolDef] " + platform::formatInt(n));
    for (const auto& k : kToolKeys) {
      file.entry(toolKey(k.name, n), platform::formatInt((konfig.ToolDef.*k.member)[n]));
    }
  }

  // Written as UTF-8, unlike the other files of the program, so that any folder name survives.
  std::string error;
  const bool saved = platform::writeFileAtomic(path, file.bytes(), &error);
  if (!saved) {
    ui.messageBox(path.string() + "\n" + error, kCaption, platform::MsgButtons::Ok, platform::MsgIcon::Warning);
  }
  machine::Protokoll_schreiben("Konfig_Speichern() :: End");
  return saved;
}

bool rememberRecentFile(Konfiguration& konfig, std::string_view documentPath) {
  if (holdsLineBreak(documentPath)) return false;
  konfig.File_1 = std::string(documentPath);
  const auto slash = documentPath.rfind('/');
  konfig.Verzeichnis = slash == std::string_view::npos ? std::string() : std::string(documentPath.substr(0, slash + 1));
  return true;
}

}  // namespace app
