// The controller commands of the protocol driver: their texts, the ranges of their arguments and
// the answers each one accepts.
#include <array>
#include <cctype>
#include <cstdint>
#include <limits>

#include "ZelkoCom.h"
#include "machine/FailureCodes.h"
#include "platform/NumberFormat.h"

namespace machine {

namespace {

constexpr int kSettingMs = 64;
constexpr int kAxisQueryMs = 40;
constexpr int kInputQueryMs = 128;
constexpr int kMaxFrequency = 128000;
constexpr int kMaxRampMs = 60000;
constexpr int kMaxSpeedIndex = 10;
constexpr int kMaxMoveSpeedIndex = 255;
constexpr int kMaxPasses = 65535;
constexpr int kNotMoved = 99999;
constexpr int kUnknownCommand = 1021;  // the controller's "E1" BEL

const std::string kCr(1, kZelkoCr);

std::string num(int value) { return platform::formatInt(value); }

void requireRange(int value, int low, int high) {
  if (value < low || value > high) throw OUT_OF_RANGE;
}

bool isAxisLetter(char c) { return c == 'x' || c == 'y' || c == 'z' || c == 'u'; }

void requireAxis(char axis) {
  if (!isAxisLetter(axis)) throw OUT_OF_RANGE;
}

// An input letter must be one printable byte, so that it cannot end or split the command.
void requireInputLetter(char input) {
  if (!std::isgraph(static_cast<unsigned char>(input))) throw OUT_OF_RANGE;
}

// "L", the speed index, then ",x"/",X" and the value of each axis that moves, then CR.
std::string vectorText(bool relative, int speedIndex, int x, int y, int z) {
  const std::array<int, 3> values{x, y, z};
  const std::array<char, 3> letters =
      relative ? std::array<char, 3>{'x', 'y', 'z'} : std::array<char, 3>{'X', 'Y', 'Z'};
  std::string text = "L" + num(speedIndex);
  if (relative && x == 0 && y == 0 && z == 0) return text + ",x0,y0,z0" + kCr;
  if (!relative && x == 0 && y == 0 && z == 0) return text + ",X0,Y0,Z0" + kCr;
  for (std::size_t i = 0; i < values.size(); ++i) {
    const bool moves = relative ? values[i] != 0 : values[i] != kNotMoved;
    if (moves) text += std::string(",") + letters[i] + num(values[i]);
  }
  return text + kCr;
}

// The output command's prefix for an output number; empty for a number without an output.
std::string outputPrefix(int number) {
  if (number >= 1 && number <= 8) return "A" + num(number) + ",";
  switch (number) {
    case 12:
      return "A1,";
    case 13:
      return "A2,";
    case 76:
      return "AL,";
    case 82:
      return "AR,";
    default:
      return "";
  }
}

// The text after an '@' answer's head ("@V ", "@Lx "), or COMMUNICATION_ERROR when the head is
// not there.
std::string afterHead(const std::string& answer, const std::string& head) {
  if (answer.compare(0, head.size(), head) != 0) throw COMMUNICATION_ERROR;
  return answer.substr(head.size());
}

// The leading decimal integer of a text, as far as it goes; 0 without digits.
int leadingInteger(const std::string& text) {
  std::size_t i = 0;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  std::int64_t value = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > std::numeric_limits<std::int32_t>::max()) break;
  }
  return platform::saturatingTrunc(static_cast<double>(negative ? -value : value));
}

}  // namespace

void TzelkoCOM::expectAck(const std::string& answer, bool errorAnswer) {
  if (!answer.empty() && answer.front() == kZelkoAck) return;
  // A NAK started a motion all the same; nobody waits for its final answer, which the next
  // command lets come and go.
  if (const Link link = currentLink(); link.receiver) link.receiver->disownFinal();
  if (errorAnswer && answer.compare(0, 3, std::string("E1") + kZelkoBel) == 0) throw kUnknownCommand;
  throw ACK_ERROR;
}

void TzelkoCOM::expectMotionStart(const std::string& answer) {
  const char first = answer.empty() ? '\0' : answer.front();
  const bool stores = speichermodus_.load();
  if (first == (stores ? kZelkoAck : kZelkoNak)) return;
  if (stores && first == kZelkoNak) {
    // The controller runs the motion it was to record: it is stopped at once, decelerated, and
    // its final answer taken here, so that whatever follows finds the axes standing.
    bool stopped = false;
    try {
      Achsen_anhalten();
      takeNormal(-1);
      stopped = true;
    } catch (int) {
      // The stop or the end of the motion failed: its final answer is left to come and go below.
    }
    if (stopped) throw ACK_ERROR;
  }
  // Nobody will wait for the final answer of a motion the check refused; it must not hold the
  // line for the commands after it.
  if (const Link link = currentLink(); link.receiver) link.receiver->disownFinal();
  throw stores ? ACK_ERROR : NAK_ERROR;
}

void TzelkoCOM::Reset() {
  if (SendenUndWarten("@R" + kCr, kSettingMs).compare(0, 3, "@RS") != 0) throw RS_ERROR;
}

std::string TzelkoCOM::Version_abfragen() { return afterHead(SendenUndWarten("@V" + kCr, kSettingMs), "@V "); }

std::string TzelkoCOM::Wert_abfragen(char axis) {
  requireAxis(axis);
  return afterHead(SendenUndWarten(std::string("@L") + axis + kCr, kAxisQueryMs), std::string("@L") + axis + " ");
}

int TzelkoCOM::Wert_lesen(char axis) { return leadingInteger(Wert_abfragen(axis)); }

void TzelkoCOM::Ansteuersignale_einstellen(int kind) {
  requireRange(kind, 0, 1);
  expectAck(SendenUndWarten("T" + num(kind) + kCr, kSettingMs), true);
}

void TzelkoCOM::Halb_Vollschrittbetrieb_einstellen(int schrittbetrieb, int ruhestrom) {
  requireRange(schrittbetrieb, 0, 1);
  requireRange(ruhestrom, 0, 2);
  static constexpr std::array<char, 3> kCurrent{'0', '2', '6'};
  const char mode = schrittbetrieb == 0 ? 'H' : 'V';
  expectAck(SendenUndWarten(std::string("F") + mode + kCurrent[static_cast<std::size_t>(ruhestrom)] + kCr, kSettingMs),
            true);
}

void TzelkoCOM::Startgeschwindigkeit_einstellen(int hz) {
  requireRange(hz, 0, kMaxFrequency);
  expectAck(SendenUndWarten("#S" + num(hz) + kCr, kSettingMs), false);
}

void TzelkoCOM::Endgeschwindigkeit_einstellen(int speedIndex, int hz) {
  requireRange(speedIndex, 0, kMaxSpeedIndex);
  requireRange(hz, 0, kMaxFrequency);
  expectAck(SendenUndWarten("#E" + num(speedIndex) + "," + num(hz) + kCr, kSettingMs), false);
}

void TzelkoCOM::Rampenlaenge_einstellen(int ms) {
  requireRange(ms, 0, kMaxRampMs);
  expectAck(SendenUndWarten("#R" + num(ms) + kCr, kSettingMs), false);
  rampMs_.store(ms);
}

void TzelkoCOM::Referenzgeschwindigkeit_einstellen(int hz) {
  requireRange(hz, 0, kMaxFrequency);
  expectAck(SendenUndWarten("#E9," + num(hz) + kCr, kSettingMs), false);
}

void TzelkoCOM::Referenzoffset_einstellen(char axis, int steps) {
  requireAxis(axis);
  expectAck(SendenUndWarten(std::string("#O") + axis + "," + num(steps) + kCr, kSettingMs), false);
}

void TzelkoCOM::Referenzfahrt_ausfuehren(const std::string& axes) {
  expectMotionStart(SendenUndWarten("$H" + axes + kCr, kSettingMs));
}

void TzelkoCOM::Vektorfahrt_ausfuehren(int mode, int speedIndex, int x, int y, int z) {
  requireRange(speedIndex, 0, kMaxMoveSpeedIndex);
  expectMotionStart(SendenUndWarten(vectorText(mode != 0, speedIndex, x, y, z), kSettingMs));
}

void TzelkoCOM::Achsen_anhalten() {
  boundFinalWait();
  SendenUndWarten("@B" + kCr, kSettingMs);
}

void TzelkoCOM::Achsen_sofort_stoppen() {
  boundFinalWait();
  SendenUndWarten("@S" + kCr, kSettingMs);
}

void TzelkoCOM::Ausgangssignal_setzen(int number, int value) {
  const std::string prefix = outputPrefix(number);
  if (prefix.empty()) throw OUT_OF_RANGE;
  requireRange(value, 0, 1);
  expectAck(SendenUndWarten(prefix + num(value) + kCr, kSettingMs), false);
}

void TzelkoCOM::Eingang_abfragen(char input) { inputAnswer(input); }

bool TzelkoCOM::Eingang_gesetzt(char input) {
  const std::string state = inputAnswer(input);
  return !state.empty() && state.front() == '1';
}

std::string TzelkoCOM::inputAnswer(char input) {
  requireInputLetter(input);
  const std::string head = std::string("@I") + input + " ";
  return afterHead(SendenUndWarten(head.substr(0, 3) + kCr, kInputQueryMs), head);
}

void TzelkoCOM::Programmdurchlaeufe_hinterlegen(int count) {
  requireRange(count, 0, kMaxPasses);
  expectAck(SendenUndWarten("#PD," + num(count) + kCr, kSettingMs), false);
}

}  // namespace machine
