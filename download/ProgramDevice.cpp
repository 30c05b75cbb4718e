// The row transfer of a download.
#include "ProgramDevice.h"

namespace download {

namespace {

// Outcome of a failed row answer.
DownloadResult failure(RowAnswer answer) {
  switch (answer) {
    case RowAnswer::WriteError:
      return DownloadResult::WriteError;
    case RowAnswer::Cancelled:
      return DownloadResult::Cancelled;
    case RowAnswer::Silent:
      return DownloadResult::BootloaderSilent;
    case RowAnswer::Accepted:
    case RowAnswer::Refused:
      break;
  }
  return DownloadResult::WriteRefused;
}

// Refused or unanswered: worth another attempt. The last attempt's answer tells why the row
// did not go in.
bool retry(RowAnswer answer) { return answer == RowAnswer::Refused || answer == RowAnswer::Silent; }

// An addressed row: sent again whole while refused or unanswered.
RowAnswer sendRow(Bootloader& boot, const MemoryRow& row) {
  const std::string frame = row.Frame();
  RowAnswer answer = RowAnswer::Refused;
  for (int attempt = 0; attempt < boot.timing().rowAttempts; ++attempt) {
    answer = boot.writeFrame(frame);
    if (!retry(answer)) return answer;
    boot.settle();
  }
  return answer;
}

// The configuration registers in one unbroken sequence. A register sent again on its own would
// be stored as the next one, so any fault starts the sequence over from its first register.
RowAnswer sendConfiguration(Bootloader& boot, const std::vector<const MemoryRow*>& registers) {
  RowAnswer answer = RowAnswer::Refused;
  for (int attempt = 0; attempt < boot.timing().configAttempts; ++attempt) {
    answer = RowAnswer::Accepted;
    for (const MemoryRow* row : registers) {
      answer = boot.writeFrame(row->Frame());
      if (answer != RowAnswer::Accepted) break;
    }
    if (!retry(answer)) return answer;
    boot.settle();
  }
  return answer;
}

// Words 0-3 of the first program row from the first two instructions the device holds, which
// it sends high byte first: byte order 2, 1, 0 and 5, 4, 3, each instruction padded to two words.
void storeResetVector(MemoryRow& first, const std::string& bytes) {
  const auto b = [&](std::size_t i) { return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[i])); };
  first.StoreWord(0, static_cast<std::uint16_t>((b(2) << 8) | b(1)));
  first.StoreWord(1, static_cast<std::uint16_t>(b(0) << 8));
  first.StoreWord(2, static_cast<std::uint16_t>((b(5) << 8) | b(4)));
  first.StoreWord(3, static_cast<std::uint16_t>(b(3) << 8));
}

}  // namespace

bool buildRows(const std::vector<HexBlock>& blocks, std::uint8_t family, std::vector<MemoryRow>& rows) {
  rows = createRows(family);
  return storeBlocks(rows, blocks);
}

ProgramOutcome ProgramDevice(Bootloader& boot, std::vector<MemoryRow>& rows) {
  ProgramOutcome outcome;
  if (rows.size() != kRowCount) {
    outcome.result = DownloadResult::BadHexFile;
    return outcome;
  }
  MemoryRow& first = rows.front();
  const std::string vector = boot.readProgram(0, first.size());
  if (boot.link().cancelled()) {
    outcome.result = DownloadResult::Cancelled;
    return outcome;
  }
  if (vector.size() < 3 * static_cast<std::size_t>(first.size())) {
    outcome.result = DownloadResult::BootloaderSilent;
    return outcome;
  }
  storeResetVector(first, vector);

  for (MemoryRow& row : rows) row.PackBytes();
  boot.reporter().status(kStatusProgramming);

  std::vector<const MemoryRow*> registers;
  for (const MemoryRow& row : rows) {
    if (!row.Sent()) continue;
    if (row.kind() == RowKind::Config) {
      registers.push_back(&row);
      continue;
    }
    outcome.rowsSent = true;
    const RowAnswer answer = sendRow(boot, row);
    if (answer != RowAnswer::Accepted) {
      outcome.result = failure(answer);
      return outcome;
    }
  }
  outcome.rowsSent = true;
  if (const RowAnswer answer = sendConfiguration(boot, registers); answer != RowAnswer::Accepted) {
    outcome.result = failure(answer);
    return outcome;
  }

  if (!boot.leave()) {
    outcome.result = boot.link().cancelled() ? DownloadResult::Cancelled : DownloadResult::WriteError;
    return outcome;
  }
  boot.reporter().status(kStatusDone);
  return outcome;
}

}  // namespace download
