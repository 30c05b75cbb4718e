// The command layer's sending of command-file lines to a protocol controller.
#include "CommandLayer.h"
#include "FailureCodes.h"
#include "TraceLog.h"
#include "machine/ControllerFamily.h"
#include "machine/serial/ZelkoAnswer.h"
#include "machine/serial/ZelkoCom.h"
#include "machine/serial/ZelkoComReceiver.h"

namespace machine {

namespace {

constexpr int kLineAnswerMs = 64;
constexpr int kFinalAnswerMs = 60000;
static_assert(CommandLayer::kMaxBefehlszeile + 1 == TzelkoCOM::kMaxCommandBytes);

}  // namespace

bool CommandLayer::Befehlszeile_senden(const std::string& line) {
  if (params_.Modul != 5 && params_.Modul != 6) return false;
  Protokoll_schreiben("Befehlszeile_senden(" + line + ")");
  if (line.size() > kMaxBefehlszeile) throw OUT_OF_RANGE;
  ProtocolBackend& protocol = requiredBackend(backends_.zelkoCOM);
  const std::string answer = protocol.SendenUndWarten(line + '\r', kLineAnswerMs);
  if (const auto code = errorAnswerCode(answer)) throw *code;
  // A line for the priority channel has no final answer; only a normal line's NAK starts a motion.
  if ((line.empty() || line.front() != '@') && !answer.empty() && answer.front() == kZelkoNak)
    protocol.WaitResp(kFinalAnswerMs);
  return true;
}

}  // namespace machine
