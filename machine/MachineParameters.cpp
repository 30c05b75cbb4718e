// Defaults, file names and the key=value parameter file of the machine parameter record.
#include "MachineParameters.h"

#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "TextConvert.h"
#include "platform/NameValueList.h"
#include "platform/NumberFormat.h"
#include "platform/TextCodec.h"
#include "platform/TextFile.h"

namespace machine {

namespace {

constexpr const char* kCaption = "Tessaly";

// Values of a parameter file; a missing key gives the empty text, which the converters turn into 0.
// It notes whether any key asked for was there at all.
class KeyValues {
 public:
  explicit KeyValues(const std::vector<std::string>& lines) : list_(lines) {}
  std::int32_t integer(std::string_view key) {
    note(key);
    return Text_in_Ganzzahl(list_.value(key));
  }
  double number(std::string_view key) {
    note(key);
    return Text_in_Zahl(list_.value(key));
  }
  bool anyKey() const { return anyKey_; }

 private:
  void note(std::string_view key) { anyKey_ = anyKey_ || list_.contains(key); }

  platform::NameValueList list_;
  bool anyKey_ = false;
};

constexpr const char* kKeineParameter = "enthält keine Maschinenparameter";
constexpr const char* kUnlesbar = ".unlesbar";

constexpr int kMaxBackupNumber = 1000;

// Whether something (a link too) has that name; nullopt with the reason when that cannot be told.
std::optional<bool> exists(const std::string& path, std::string* reason = nullptr) {
  std::error_code ec;
  const auto type = std::filesystem::symlink_status(path, ec).type();
  if (type == std::filesystem::file_type::not_found) return false;
  if (ec) {
    if (reason) *reason = ec.message();
    return std::nullopt;
  }
  return true;
}

// The first free name beside the file that says it could not be read: "<name>.unlesbar", then
// "<name>.unlesbar-2" and so on, so that an earlier one is never replaced.
std::string unreadableBackupName(const std::string& path) {
  std::string name = path + kUnlesbar;
  for (int n = 2; exists(name) != false && n <= kMaxBackupNumber; ++n)
    name = path + kUnlesbar + "-" + platform::formatInt(n);
  return name;
}

// A file that cannot be read: the defaults instead of what it may hold, and the name it will be
// kept under before it is replaced.
bool unreadable(Maschinenparameter& p, const std::string& reason, std::string* error) {
  Parameter_Vorbelegen(p);
  p.unreadableFileBackup = unreadableBackupName(p.Parameterdatei);
  if (error) *error = reason;
  return false;
}

std::int32_t outsideGives(std::int32_t value, std::int32_t low, std::int32_t high, std::int32_t replacement) {
  return value < low || value > high ? replacement : value;
}

// Collects the key=value lines of the file; endGroup adds the empty line between two groups.
class LineWriter {
 public:
  void integer(const char* key, std::int32_t value) {
    lines_.push_back(std::string(key) + "=" + platform::formatInt(value));
  }
  void number(const char* key, double value) {
    // Plain fixed-point always, and bounded: an exponent form or a text too long for the reader
    // would read back as 0.
    lines_.push_back(std::string(key) + "=" + platform::formatFixedSignificant(platform::boundedValue(value), 6, 2));
  }
  void endGroup() { lines_.emplace_back(); }
  std::vector<std::string> take() { return std::move(lines_); }

 private:
  std::vector<std::string> lines_;
};

std::string fileNameWithSuffix(const std::string& programFileName, const char* suffix) {
  std::string base = programFileName;
  const auto dot = base.rfind('.');
  if (dot != std::string::npos && dot > 0) base.erase(dot);
  return platform::lowerLatin(base) + suffix;
}

}  // namespace

void setVerbindungstext(Maschinenparameter& p, std::string text) {
  // A controller's answer ends in its acknowledge byte; the status bar shows the text, not that.
  while (!text.empty() && static_cast<unsigned char>(text.back()) < 32) text.pop_back();
  if (text.size() > kMaxVerbindungstextBytes) {
    std::size_t cut = kMaxVerbindungstextBytes;
    // Step back over continuation bytes so that no character is split.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    text.erase(cut);
  }
  p.Verbindungstext = std::move(text);
}

void Parameter_Vorbelegen(Maschinenparameter& p) {
  p.Modul = 5;
  p.LPTAdresse = 0x378;
  p.ComPort = 1;
  p.Baudrate = 115200;
  p.Startfreq = 200;
  p.Arbeitsfreq = 400;
  p.Eilfreq = 600;
  p.Rampenlaenge = 200;
  p.xUebersetz = p.yUebersetz = p.zUebersetz = p.uUebersetz = 1.0;
  p.xMotStep = p.yMotStep = p.zMotStep = p.uMotStep = 400;
  p.Steuersignal = 0;
  p.Schrittbetrieb = 0;
  p.Ruhestrom = 1;
  p.ZBetrieb = 1;
  p.UBetrieb = 0;
  p.xRefOffset = p.yRefOffset = p.zRefOffset = p.uRefOffset = 0.25;
  p.RefFreq = 400;
  p.xRefNr = 2;
  p.yRefNr = 3;
  p.zRefNr = 1;
  p.uRefNr = 4;
  p.RefAktiv = {1, 1, 1, 0};
  p.xWerkstücknullpunkt = p.yWerkstücknullpunkt = p.zWerkstücknullpunkt = p.uWerkstücknullpunkt = 0.0;
  p.xParkposition = p.yParkposition = p.zParkposition = p.uParkposition = 0.0;
  p.xWZLMessposition = p.yWZLMessposition = p.zWZLMessposition = 0.0;
  p.zWZLdelta = 0.0;
  p.xWZWechselposition = p.yWZWechselposition = p.zWZWechselposition = p.uWZWechselposition = 0.0;
}

std::string ParamDateiname(const std::string& programFileName) {
  return fileNameWithSuffix(programFileName, "_param.dat");
}

std::string KonfigDateiname(const std::string& programFileName) {
  return fileNameWithSuffix(programFileName, "_konfig.dat");
}

bool Parameter_Laden(Maschinenparameter& p, std::string* error) {
  p.unreadableFileBackup.clear();
  const platform::TextReadResult file = platform::readTextLines(p.Parameterdatei);
  if (file.status == platform::ReadStatus::Missing) {
    Parameter_Vorbelegen(p);
    return true;
  }
  if (file.status != platform::ReadStatus::Ok) return unreadable(p, file.error, error);

  KeyValues kv(file.lines);
  p.Modul = kv.integer("Modul");
  p.LPTAdresse = kv.integer("LPTAdresse");
  p.ComPort = kv.integer("ComPort");
  p.Baudrate = kv.integer("Baudrate");
  p.Startfreq = kv.integer("Startfreq");
  p.Arbeitsfreq = kv.integer("Arbeitsfreq");
  p.Eilfreq = kv.integer("Eilfreq");
  p.Rampenlaenge = kv.integer("Rampenlaenge");
  p.xUebersetz = kv.number("xUebersetz");
  p.yUebersetz = kv.number("yUebersetz");
  p.zUebersetz = kv.number("zUebersetz");
  p.uUebersetz = kv.number("uUebersetz");
  p.xMotStep = kv.integer("xMotStep");
  p.yMotStep = kv.integer("yMotStep");
  p.zMotStep = kv.integer("zMotStep");
  p.uMotStep = kv.integer("uMotStep");
  p.Steuersignal = outsideGives(kv.integer("Steuersignal"), 0, 1, 1);
  p.Schrittbetrieb = outsideGives(kv.integer("Schrittbetrieb"), 0, 1, 1);
  p.Ruhestrom = outsideGives(kv.integer("Ruhestrom"), 0, 2, 0);
  p.ZBetrieb = outsideGives(kv.integer("ZBetrieb"), 1, 2, 1);
  p.UBetrieb = outsideGives(kv.integer("UBetrieb"), 0, 1, 0);
  p.xRefOffset = kv.number("xRefOffset");
  p.yRefOffset = kv.number("yRefOffset");
  p.zRefOffset = kv.number("zRefOffset");
  p.uRefOffset = kv.number("uRefOffset");
  // The homing order is read as a number so that a value written with decimals still counts,
  // truncated toward zero.
  p.xRefNr = platform::saturatingTrunc(kv.number("xRefNr"));
  p.yRefNr = platform::saturatingTrunc(kv.number("yRefNr"));
  p.zRefNr = platform::saturatingTrunc(kv.number("zRefNr"));
  p.uRefNr = platform::saturatingTrunc(kv.number("uRefNr"));
  p.RefFreq = kv.integer("RefFreq");
  p.RefAktiv[0] = kv.integer("RefAktiv[0]");
  p.RefAktiv[1] = kv.integer("RefAktiv[1]");
  p.RefAktiv[2] = kv.integer("RefAktiv[2]");
  p.RefAktiv[3] = kv.integer("RefAktiv[3]");
  p.xWerkstücknullpunkt = kv.number("xWerkstücknullpunkt");
  p.yWerkstücknullpunkt = kv.number("yWerkstücknullpunkt");
  p.zWerkstücknullpunkt = kv.number("zWerkstücknullpunkt");
  p.uWerkstücknullpunkt = kv.number("uWerkstücknullpunkt");
  p.xParkposition = kv.number("xParkposition");
  p.yParkposition = kv.number("yParkposition");
  p.zParkposition = kv.number("zParkposition");
  p.uParkposition = kv.number("uParkposition");
  p.xWZLMessposition = kv.number("xWZLMessposition");
  p.yWZLMessposition = kv.number("yWZLMessposition");
  p.zWZLMessposition = kv.number("zWZLMessposition");
  // Only the protocol controllers 5 and 6 measure tool lengths; for the others a stored
  // difference would shift every z target.
  const double zWZLdelta = kv.number("zWZLdelta");
  p.zWZLdelta = (p.Modul == 5 || p.Modul == 6) ? zWZLdelta : 0.0;
  p.xWZWechselposition = kv.number("xWZWechselposition");
  p.yWZWechselposition = kv.number("yWZWechselposition");
  p.zWZWechselposition = kv.number("zWZWechselposition");
  p.uWZWechselposition = kv.number("uWZWechselposition");
  // Not one line names a parameter (an empty file, another kind of file, or text in an encoding
  // such as UTF-16): reading it would set every field to 0, controller type 0 at port 0.
  if (!kv.anyKey()) return unreadable(p, kKeineParameter, error);
  return true;
}

bool Parameter_Speichern(const Maschinenparameter& p, platform::UiServices& ui) {
  LineWriter w;
  w.integer("Modul", p.Modul);
  w.endGroup();
  w.integer("LPTAdresse", p.LPTAdresse);
  w.integer("ComPort", p.ComPort);
  w.integer("Baudrate", p.Baudrate);
  w.endGroup();
  w.integer("Startfreq", p.Startfreq);
  w.integer("Arbeitsfreq", p.Arbeitsfreq);
  w.integer("Eilfreq", p.Eilfreq);
  w.integer("Rampenlaenge", p.Rampenlaenge);
  w.endGroup();
  w.number("xUebersetz", p.xUebersetz);
  w.number("yUebersetz", p.yUebersetz);
  w.number("zUebersetz", p.zUebersetz);
  w.number("uUebersetz", p.uUebersetz);
  w.endGroup();
  w.integer("xMotStep", p.xMotStep);
  w.integer("yMotStep", p.yMotStep);
  w.integer("zMotStep", p.zMotStep);
  w.integer("uMotStep", p.uMotStep);
  w.endGroup();
  w.integer("Steuersignal", p.Steuersignal);
  w.integer("Schrittbetrieb", p.Schrittbetrieb);
  w.integer("Ruhestrom", p.Ruhestrom);
  w.integer("ZBetrieb", p.ZBetrieb);
  w.integer("UBetrieb", p.UBetrieb);
  w.endGroup();
  w.number("xRefOffset", p.xRefOffset);
  w.number("yRefOffset", p.yRefOffset);
  w.number("zRefOffset", p.zRefOffset);
  w.number("uRefOffset", p.uRefOffset);
  w.endGroup();
  w.integer("xRefNr", p.xRefNr);
  w.integer("yRefNr", p.yRefNr);
  w.integer("zRefNr", p.zRefNr);
  w.integer("uRefNr", p.uRefNr);
  w.endGroup();
  w.integer("RefFreq", p.RefFreq);
  w.endGroup();
  w.integer("RefAktiv[0]", p.RefAktiv[0]);
  w.integer("RefAktiv[1]", p.RefAktiv[1]);
  w.integer("RefAktiv[2]", p.RefAktiv[2]);
  w.integer("RefAktiv[3]", p.RefAktiv[3]);
  w.endGroup();
  w.number("xWerkstücknullpunkt", p.xWerkstücknullpunkt);
  w.number("yWerkstücknullpunkt", p.yWerkstücknullpunkt);
  w.number("zWerkstücknullpunkt", p.zWerkstücknullpunkt);
  w.number("uWerkstücknullpunkt", p.uWerkstücknullpunkt);
  w.endGroup();
  w.number("xParkposition", p.xParkposition);
  w.number("yParkposition", p.yParkposition);
  w.number("zParkposition", p.zParkposition);
  w.number("uParkposition", p.uParkposition);
  w.endGroup();
  w.number("xWZLMessposition", p.xWZLMessposition);
  w.number("yWZLMessposition", p.yWZLMessposition);
  w.number("zWZLMessposition", p.zWZLMessposition);
  w.number("zWZLdelta", p.zWZLdelta);
  w.endGroup();
  w.number("xWZWechselposition", p.xWZWechselposition);
  w.number("yWZWechselposition", p.yWZWechselposition);
  w.number("zWZWechselposition", p.zWZWechselposition);
  w.number("uWZWechselposition", p.uWZWechselposition);

  std::string error;
  const auto failed = [&] {
    ui.messageBox(p.Parameterdatei + "\n" + error, kCaption, platform::MsgButtons::Ok, platform::MsgIcon::Warning);
    return false;
  };
  // The file that could not be read at start is kept under its own name before the first save
  // replaces it; once that name exists, the file in its place is one this program wrote.
  // Whatever cannot be told or done here refuses the save: the file stays as it is.
  const std::string& backup = p.unreadableFileBackup;
  if (!backup.empty()) {
    const std::optional<bool> kept = exists(backup, &error);
    if (!kept) return failed();
    const std::optional<bool> there = *kept ? false : exists(p.Parameterdatei, &error);
    if (!there) return failed();
    if (*there) {
      std::error_code ec;
      std::filesystem::rename(p.Parameterdatei, backup, ec);
      if (ec) {
        error = ec.message();
        return failed();
      }
    }
  }
  if (platform::writeTextLinesAtomic(p.Parameterdatei, w.take(), &error)) return true;
  return failed();
}

}  // namespace machine
