// The synchronous transfer (command and terminator out, answer in until CR or a second of
// silence) and the commands that Beryl and Kyro share.
#include "SyncSerialModule.h"

#include <charconv>
#include <chrono>
#include <optional>
#include <string_view>

#include "machine/FailureCodes.h"
#include "machine/TextConvert.h"
#include "machine/TraceLog.h"
#include "platform/NumberFormat.h"
#include "platform/SerialPortNames.h"

namespace machine {

namespace {

constexpr auto kWriteTimeout = std::chrono::milliseconds(1000);
// How long the drain at connect waits for further input before it counts the line as quiet.
constexpr auto kDrainQuiet = std::chrono::milliseconds(20);
// An axis not to be moved in an absolute move.
constexpr int kNichtBewegen = 99999;
// Longest port text that names a port.
constexpr std::size_t kMaxPortText = 11;

std::string num(int value) { return platform::formatInt(value); }

bool beginsWith(const std::string& text, char a, char b) { return text.size() > 2 && text[0] == a && text[1] == b; }

// The step count of an "@L<axis><steps>" answer ended by CR; blanks around the number are taken,
// anything else is no position.
std::optional<int> positionswert(const std::string& answer, char axis) {
  if (answer.size() < 4 || !beginsWith(answer, '@', 'L') || answer[2] != axis) return std::nullopt;
  std::string_view text(answer.data() + 3, answer.size() - 4);
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int steps = 0;
  const char* const end = text.data() + text.size();
  const auto [stopped, error] = std::from_chars(text.data(), end, steps);
  if (text.empty() || error != std::errc() || stopped != end) return std::nullopt;
  return steps;
}

}  // namespace

SyncSerialModule::SyncSerialModule(SyncModuleTraits traits, platform::UiServices& ui, platform::GuiDispatcher& gui,
                                   platform::Clock& clock)
    : traits_(traits), ui_(ui), gui_(gui), clock_(clock) {}

SyncSerialModule::~SyncSerialModule() { Trennen(); }

bool SyncSerialModule::Verbinden(const std::string& portText) {
  Trennen();
  const std::string name = portText.substr(0, kMaxPortText);
  const int number = ComNummer(name);
  const std::string device = number > 0 ? platform::comDevicePath(number) : std::string();
  platform::SerialOpenResult opened;
  if (!device.empty()) opened = platform::SerialPort::open(device, kBaudrate, platform::ModemLines::Off);
  if (!opened.port) {
    Protokoll_schreiben(std::string(traits_.openCaption) + ": " + name + " :: Fehler " + num(opened.systemError));
    warnung(name + " kann nicht geöffnet werden!", traits_.openCaption);
    return false;
  }
  port_ = std::move(opened.port);
  busy_ = false;
  // What the unit sent before is discarded. A line that keeps sending cannot hold the connection
  // step: the drain stops after a bounded amount.
  std::size_t drained = 0;
  while (drained < kMaxDrainBytes) {
    std::string got;
    if (port_->readAvailable(got, kMaxDrainBytes - drained, kDrainQuiet) != platform::SerialWait::Data) break;
    drained += got.size();
  }
  return true;
}

void SyncSerialModule::Trennen() {
  port_.reset();
  busy_ = false;
}

bool SyncSerialModule::offen() const { return port_ != nullptr; }

void SyncSerialModule::warnung(const std::string& text, const std::string& caption) {
  gui_.invokeAndWait([&] { ui_.messageBox(text, caption, platform::MsgButtons::Ok, platform::MsgIcon::Warning); });
}

bool SyncSerialModule::schreiben(const std::string& bytes, bool purge, bool bewegung) {
  std::lock_guard lock(writeMutex_);
  // A stop sets its request before its own command is written under this lock: a motion that
  // finds it here would otherwise follow the stop onto the line and run its full length.
  if (std::atomic<bool>* stop = stopRequest_.load(); bewegung && stop != nullptr && stop->exchange(false)) {
    Protokoll_schreiben(std::string(traits_.openCaption) + ": nach dem Anhalten nicht gesendet: " + bytes);
    return false;
  }
  // Only stale input is discarded. What is still in the output queue is never thrown away: it may
  // be a stop written by another thread that the line has not yet carried to the unit.
  if (purge) port_->purgeInput();
  if (port_->write(bytes, kWriteTimeout) != platform::SerialWrite::Done)
    Protokoll_schreiben(std::string(traits_.openCaption) + ": Befehl nicht gesendet: " + bytes);
  return true;
}

void SyncSerialModule::Befehl_senden(const std::string& text, int terminator) {
  if (!port_) return;
  // A wait for idle after this command ends at a stop made from now on, also one made while the
  // command's own answer (its ETX) is still being read.
  stopsAtCommand_.store(stops_.load());
  // The command is kept whole however long it is; the terminator byte ends it.
  schreiben(text + static_cast<char>(terminator & 0xFF), true);
}

bool SyncSerialModule::bewegungSenden(const std::string& text) {
  if (!port_) return true;
  stopsAtCommand_.store(stops_.load());
  return schreiben(text + kSyncExecute, true, true);
}

std::string SyncSerialModule::Antwort_lesen() {
  std::lock_guard reading(readMutex_);
  antwort_.clear();
  if (!port_) {
    // Nothing can come: a wait for idle must not go on for ever.
    busy_ = false;
    return antwort_;
  }
  std::int64_t last = clock_.nowMillis();
  for (;;) {
    const std::int64_t left = kStilleMs - (clock_.nowMillis() - last);
    if (left <= 0) break;
    std::string got;
    const auto result = port_->readAvailable(got, 1, std::chrono::milliseconds(left));
    if (result == platform::SerialWait::TimedOut) break;
    if (result != platform::SerialWait::Data) {
      // The line has gone: no idle byte will ever come.
      busy_ = false;
      break;
    }
    const char c = got.front();
    if (c == kSyncStx) busy_ = false;
    if (c == kSyncEtx) busy_ = true;
    if (antwort_.size() + 1 < traits_.answerBytes) antwort_ += c;
    last = clock_.nowMillis();
    if (c == kSyncCr) break;
  }
  return antwort_;
}

void SyncSerialModule::Warten_bis_bereit() {
  // A stop releases the wait even when an ETX read after it set the flag again: one made since the
  // last command was sent, so that a stop that came while that command's answer was read counts.
  while (busy_.load() && stops_.load() == stopsAtCommand_.load()) Antwort_lesen();
  if (stops_.load() == stopsAtCommand_.load()) return;
  // Released by a stop while a busy byte read after it still stands: the unit's answer to the stop
  // is still on its way. It is taken here, within its second, so that it does not pass for the
  // answer of the next command; then the stop has ended the motion.
  if (busy_.load()) Antwort_lesen();
  busy_ = false;
}

void SyncSerialModule::einstellen(const std::string& text) {
  Warten_bis_bereit();
  Befehl_senden(text, kSyncCr);
  Antwort_lesen();
}

void SyncSerialModule::Reset_durchfuehren() {
  Befehl_senden("@R", kSyncCr);
  Antwort_lesen();
  busy_ = false;
}

std::optional<std::string> SyncSerialModule::Version_abfragen() {
  Befehl_senden("@V", kSyncCr);
  const std::string answer = Antwort_lesen();
  if (!beginsWith(answer, '@', 'V')) return std::nullopt;
  const std::string model = traits_.modelString;
  if (answer.compare(3, model.size(), model) != 0) return std::nullopt;
  const std::size_t end = answer.find(kSyncCr, 3);
  std::string text = answer.substr(3, end == std::string::npos ? std::string::npos : end - 3);
  // Status bytes are no part of the name.
  std::erase_if(text, [](char c) { return c == kSyncStx || c == kSyncEtx; });
  return text;
}

int SyncSerialModule::Wert_abfragen(char axis) {
  // A position that cannot be read is no position: taken for 0, it would make the next relative
  // move miss its lift or overshoot.
  if (!port_) throw HANDLE_COM_PORT_ERROR;
  Befehl_senden(std::string("@L") + axis, kSyncCr);
  const std::string answer = Antwort_lesen();
  if (answer.empty() || answer.back() != kSyncCr) {
    Protokoll_schreiben(std::string(traits_.openCaption) + ": keine Antwort auf @L" + axis);
    throw WAIT_TIMEOUT;
  }
  // A busy or idle byte that came in with the answer belongs to no position.
  std::string text = answer;
  std::erase_if(text, [](char c) { return c == kSyncStx || c == kSyncEtx; });
  const std::optional<int> steps = positionswert(text, axis);
  if (!steps) {
    Protokoll_schreiben(std::string(traits_.openCaption) + ": keine Position in der Antwort " + answer);
    throw COMMUNICATION_ERROR;
  }
  return *steps;
}

void SyncSerialModule::Startgeschwindigkeit_einstellen(int hz) {
  Warten_bis_bereit();
  if (hz > kMaxFrequenz) {
    warnung("unzulässiger Wert für Startfreq", "Startgeschwindigkeit_einstellen()");
    hz = kMaxFrequenz;
  }
  startfreq_ = hz;
  Befehl_senden("#S" + num(hz), kSyncCr);
  Antwort_lesen();
}

void SyncSerialModule::Endgeschwindigkeit_einstellen(int speedIndex, int hz) {
  Warten_bis_bereit();
  if (speedIndex < 0 || speedIndex > traits_.maxSpeedIndex) {
    warnung("unzulässiger Wert für index", "Endgeschwindigkeit_einstellen()");
    return;
  }
  if (hz > kMaxFrequenz) {
    warnung("unzulässiger Wert für Arbeitsfreq", "Endgeschwindigkeit_einstellen()");
    hz = kMaxFrequenz;
  }
  speeds_[static_cast<std::size_t>(speedIndex)] = hz;
  Befehl_senden("#E" + num(speedIndex) + "," + num(hz), kSyncCr);
  Antwort_lesen();
}

int SyncSerialModule::geschwindigkeit(int index) const {
  if (index < 0 || index > traits_.maxSpeedIndex) return 0;
  return speeds_[static_cast<std::size_t>(index)];
}

void SyncSerialModule::Rampenlaenge_einstellen(int ms) {
  Warten_bis_bereit();
  if (ms > kMaxRampenlaenge) {
    warnung("unzulässiger Wert für Rampenlaenge", "Rampenlaenge_einstellen()");
    ms = kMaxRampenlaenge;
  }
  rampenlaenge_ = ms;
  Befehl_senden("#R" + num(ms), kSyncCr);
  Antwort_lesen();
}

void SyncSerialModule::Referenzfahrt_ausfuehren(const std::string& axes) {
  Warten_bis_bereit();
  // The homing runs at the reference speed in slot 1; the working speed is put back afterwards.
  const int arbeitsfreq = speeds_[1];
  Endgeschwindigkeit_einstellen(1, refFreq_);
  if (!bewegungSenden("$H" + axes)) {
    Endgeschwindigkeit_einstellen(1, arbeitsfreq);
    throw USER_ABORT;
  }
  Antwort_lesen();
  Warten_bis_bereit();
  Endgeschwindigkeit_einstellen(1, arbeitsfreq);
}

void SyncSerialModule::Vektorfahrt_ausfuehren(int mode, int speedIndex, int x, int y, int z, int terminator) {
  Warten_bis_bereit();
  if (speedIndex < 0 || speedIndex > traits_.maxSpeedIndex) {
    warnung("unzulässiger Wert für index", "Vektorfahrt_ausfuehren()");
    return;
  }
  const bool relativ = mode != 0;
  if (relativ && x == 0 && y == 0 && z == 0) return;
  std::string text = "L" + num(speedIndex);
  const auto achse = [&](char lower, char upper, int value) {
    if (relativ ? value != 0 : value != kNichtBewegen)
      text += std::string(",") + (relativ ? lower : upper) + num(value);
  };
  achse('x', 'X', x);
  achse('y', 'Y', y);
  achse('z', 'Z', z);
  if (terminator == kSyncExecute) {
    if (!bewegungSenden(text)) throw USER_ABORT;
  } else {
    Befehl_senden(text, terminator);
  }
  Antwort_lesen();
}

void SyncSerialModule::stoppen(const char* command) {
  if (!port_) {
    busy_ = false;
    return;
  }
  std::unique_lock reading(readMutex_, std::try_to_lock);
  if (!reading.owns_lock()) {
    // Another thread waits for an answer: the stop goes out at once, without discarding what that
    // reader is receiving, and its answer is left to it.
    schreiben(std::string(command) + kSyncCr, false);
  } else {
    reading.unlock();
    Befehl_senden(command, kSyncCr);
    Antwort_lesen();
  }
  busy_ = false;
  stops_.fetch_add(1);
}

void SyncSerialModule::Achsen_anhalten() { stoppen("@B"); }

void SyncSerialModule::Achsen_sofort_stoppen() { stoppen("@S"); }

}  // namespace machine
