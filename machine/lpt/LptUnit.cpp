// Opening and closing of the parallel port, its configuration, the hand-over of moves to the
// generator thread, the stops, the outputs and the inputs.
#include "LptUnit.h"

#include <charconv>
#include <optional>

#include "AxisSlot.h"
#include "machine/FailureCodes.h"

namespace machine {

namespace {

constexpr unsigned kBeepHz = 440;
constexpr unsigned kStopHz = 880;
constexpr unsigned kBeepMs = 100;
constexpr int kDefaultMaxFrequency = 12000;
constexpr int kDefaultPulseDivisor = 250000;  // 4 microsecond pulses
constexpr std::uint8_t kRelayOn = 167;
constexpr std::uint8_t kRelayOff = 188;
// The highest base whose three registers still have addresses.
constexpr unsigned kHighestBase = 0xFFFD;

// A base address as hexadecimal digits with or without "0x"; nothing else is taken for one.
std::optional<std::uint16_t> parseBase(const std::string& text) {
  std::string_view digits = text;
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) digits.remove_prefix(2);
  unsigned value = 0;
  const auto res = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
  if (digits.empty() || res.ec != std::errc() || res.ptr != digits.data() + digits.size() || value > kHighestBase)
    return std::nullopt;
  return static_cast<std::uint16_t>(value);
}

}  // namespace

LptUnit::LptUnit(std::unique_ptr<platform::PortIo> io, platform::Clock& clock, LptUi& ui)
    : io_(std::move(io)),
      clock_(clock),
      ui_(ui),
      port_(*io_, clock),
      generator_(port_, clock, ui, stops_),
      thread_(generator_, stops_, clock, [this] { return config(); }) {}

LptUnit::~LptUnit() { Lpt_schliessen(); }

bool LptUnit::Lpt_oeffnen() {
  if (!io_->initialize()) {
    ui_.warning("InitializeWinIo() failed", kLptFehlerTitel);
    return false;
  }
  thread_.Resume();
  opened_ = true;
  return true;
}

void LptUnit::Lpt_schliessen() {
  // The thread goes first: no step may be written to a port that is being given back.
  thread_.Terminate();
  opened_ = false;
  claimed_ = false;
  io_->shutdown();
}

bool LptUnit::bereit() const { return opened_ && claimed_; }

bool LptUnit::PerformanceCounter_pruefen() {
  // The monotonic clock is always there; its nanoseconds are the tick rate.
  return true;
}

bool LptUnit::LptAdresse_setzen(const std::string& hexText) {
  if (hexText.empty()) {
    ui_.beep(kBeepHz, kBeepMs);
    return false;
  }
  const auto base = parseBase(hexText);
  if (!base) {
    ui_.warning("Ungültige Adresse des Parallelports: \"" + hexText + "\"", kLptFehlerTitel);
    return false;
  }
  {
    std::lock_guard lock(configMutex_);
    config_.dataPort = *base;
    config_.statusPort = static_cast<std::uint16_t>(*base + 1);
    config_.controlPort = static_cast<std::uint16_t>(*base + 2);
  }
  std::string reason;
  claimed_ = opened_ && io_->claim(*base, reason);
  if (opened_ && !claimed_) ui_.warning(reason, kLptFehlerTitel);
  Bitzuordnung_setzen();
  Endschalter_konfigurieren(false, false, false);
  Endschalterstopp_setzen(true);
  Frequenzgrenzen_setzen(kDefaultMaxFrequency, kDefaultPulseDivisor);
  port_.write(*base, 0);
  return claimed_;
}

void LptUnit::Bitzuordnung_setzen() {
  std::lock_guard lock(configMutex_);
  // Data pins 2-9: direction and step of x, y, z, u.
  config_.directionMask = {1, 4, 16, 64};
  config_.stepMask = {2, 8, 32, 128};
}

void LptUnit::Endschalter_konfigurieren(bool fourInputs, bool singleInput, bool activeHigh) {
  std::lock_guard lock(configMutex_);
  config_.fourInputs = fourInputs;
  config_.singleInput = singleInput;
  config_.activeHigh = activeHigh;
}

void LptUnit::Endschalterstopp_setzen(bool on) {
  std::lock_guard lock(configMutex_);
  config_.limitStop = on;
}

void LptUnit::Frequenzgrenzen_setzen(int maxFrequency, int pulseDivisor) {
  std::lock_guard lock(configMutex_);
  config_.maxFrequency = maxFrequency;
  config_.pulseDivisor = pulseDivisor;
}

void LptUnit::Phasentabelle_setzen(int stepMode, int holdingCurrent) {
  const PhaseTableChoice choice = phaseTablesFor(stepMode, holdingCurrent);
  {
    std::lock_guard lock(configMutex_);
    config_.tables = choice.tables;
  }
  // A step mode that does not exist leaves the tables unusable: moves are refused until a valid
  // one is set, instead of counting steps the card never makes.
  if (!choice.stepModeValid) {
    ui_.warning("falscher Wert für Schrittbetrieb!", kLptFehlerTitel);
  } else if (!choice.holdingCurrentValid) {
    ui_.warning("falscher Wert für Ruhestrom!", kLptFehlerTitel);
  }
}

LptConfig LptUnit::config() const {
  std::lock_guard lock(configMutex_);
  return config_;
}

GeneratorResult LptUnit::post(const GeneratorCommand& command) {
  if (!bereit()) throw HANDLE_COM_PORT_ERROR;
  const auto result = thread_.post(command, standingStop_.load());
  if (!result) throw HANDLE_COM_PORT_ERROR;
  std::lock_guard lock(configMutex_);
  lastPositions_ = result->positions;
  lastHomingReferenced_ = false;
  return *result;
}

MoveOutcome LptUnit::Lpt_Vektorfahrt(bool stepDirection, int x, int y, int z, int f0, int f1, int rampMs) {
  GeneratorCommand command;
  command.command = GeneratorCommand::kVectorMove;
  command.stepDirection = stepDirection;
  command.steps = {x, y, z, 0};
  command.startFrequency = f0;
  command.endFrequency = f1;
  command.rampMs = rampMs;
  return post(command).outcome;
}

MoveOutcome LptUnit::Lpt_Referenzfahrt(bool stepDirection, char axis, int offset, int f0, int f1, int rampMs) {
  GeneratorCommand command;
  command.command = GeneratorCommand::kHoming;
  command.stepDirection = stepDirection;
  command.axis = axis;
  command.offset = offset;
  command.startFrequency = f0;
  command.endFrequency = f1;
  command.rampMs = rampMs;
  const GeneratorResult result = post(command);
  const int slot = axisSlot(axis);
  if (!result.referenced || slot < 0) return result.outcome;
  std::lock_guard lock(configMutex_);
  // The homed axis stands at its reference point; any other ending leaves it where its steps took it.
  lastPositions_[static_cast<std::size_t>(slot)] = 0;
  lastHomingReferenced_ = true;
  return result.outcome;
}

void LptUnit::LptPosition_lesen(int& x, int& y, int& z, int& u) const {
  std::lock_guard lock(configMutex_);
  x = lastPositions_[0];
  y = lastPositions_[1];
  z = lastPositions_[2];
  u = lastPositions_[3];
}

bool LptUnit::lastHomingReferenced() const {
  std::lock_guard lock(configMutex_);
  return lastHomingReferenced_;
}

void LptUnit::Lpt_anhalten() {
  ui_.beep(kStopHz, kBeepMs);
  thread_.requestDeceleratedStop();
}

void LptUnit::Lpt_sofort_stoppen() {
  ui_.beep(kStopHz, kBeepMs);
  ui_.beep(kStopHz, kBeepMs);
  thread_.requestImmediateStop();
}

void LptUnit::Haltestrom_ausgeben(bool withZ) { generator_.Haltestrom_ausgeben(config(), withZ); }

void LptUnit::Relais_setzen(bool on) { port_.Datenbyte_takten(config(), on ? kRelayOn : kRelayOff); }

void LptUnit::LptAusgang_setzen(int pin, bool on) { port_.LptAusgang_setzen(config().controlPort, pin, on); }

bool LptUnit::LptEingang_lesen(int pin) { return port_.LptEingang_lesen(config().statusPort, pin); }

void LptUnit::scheduleIdleTask(std::int64_t atNanos, std::function<void()> task) {
  thread_.scheduleIdleTask(atNanos, std::move(task));
}

void LptUnit::cancelIdleTask() { thread_.cancelIdleTask(); }

}  // namespace machine
