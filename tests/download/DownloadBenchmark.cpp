// Time of whole downloads against the simulated controller on a line paced at 115200 baud, set
// against the line time of every byte the utility sent (10 bits a byte): the share of the time
// the line was busy carrying the download. Reported for the whole download (with the protocol's
// fixed pauses of about 2.7 s for the wake-up and the bootloader's entry) and for the row writes
// alone. Not part of the test run; built with -DVELTRIS_BENCHMARKS=ON.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>

#include "BootSim.h"
#include "HexText.h"
#include "download/DownloadFlow.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kBaud = 115200;

// Keeps the times at which the row writes began and ended.
class TimingReporter final : public download::DownloadReporter {
 public:
  void status(const std::string& text) override {
    std::lock_guard lock(mutex_);
    if (text == download::kStatusProgramming) rowsStart = Clock::now();
    if (text == download::kStatusDone) rowsEnd = Clock::now();
  }
  void message(const std::string&, const std::string&, platform::MsgIcon) override {}

  std::mutex mutex_;
  Clock::time_point rowsStart;
  Clock::time_point rowsEnd;
};

// Program rows from the first on, every instruction set, plus all of the EEPROM and the
// configuration registers.
std::string firmwareFile(int rows, int instructionsPerRow) {
  downloadtest::Firmware firmware;
  const auto instructions = static_cast<std::uint32_t>(rows * instructionsPerRow);
  for (std::uint32_t i = 0; i < instructions; ++i) firmware.instructions[i] = (i * 0x9E3779u) & 0xFFFFFF;
  for (std::uint32_t i = 0; i < 2048; ++i) firmware.eeprom[i] = static_cast<std::uint16_t>(i * 31);
  for (std::uint32_t i = 0; i < 8; ++i) firmware.config[i] = static_cast<std::uint16_t>(0xC000 + i);
  return downloadtest::hexFile(firmware);
}

void fullDownload(benchmark::State& state, int family, int rows) {
  peers::BootSim::Options options;
  options.wireBaud = kBaud;
  if (family != 0) {
    options.family = 1;
    options.id = 0x00FF;
    options.revision = 3;
  }
  peers::BootSim sim(options);
  ::setenv("VELTRIS_COM210", sim.devicePath().c_str(), 1);
  const auto file = std::filesystem::temp_directory_path() / ("ranvik-bench-" + std::to_string(::getpid()) + ".hex");
  std::ofstream(file, std::ios::binary) << firmwareFile(rows, sim.instructionsPerRow());

  for (auto _ : state) {
    download::ComLink link;
    TimingReporter reporter;
    const auto start = Clock::now();
    const auto result =
        download::runDownload(download::DownloadRequest{"COM210", file}, link, platform::systemClock(), reporter);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (result != download::DownloadResult::Success) {
      state.SkipWithError("the download failed");
      break;
    }
    state.SetIterationTime(seconds);
    const double lineSeconds = static_cast<double>(link.bytesWritten()) * 10.0 / kBaud;
    // Every byte but the wake-up's and the identification's goes in the row writes.
    const double rowSeconds = std::chrono::duration<double>(reporter.rowsEnd - reporter.rowsStart).count();
    state.counters["bytes_sent"] = static_cast<double>(link.bytesWritten());
    state.counters["line_s"] = lineSeconds;
    state.counters["ratio_whole"] = lineSeconds / seconds;
    state.counters["ratio_rows"] = lineSeconds / rowSeconds;
  }
  std::filesystem::remove(file);
}

}  // namespace

// A dsPIC30F filled completely: 1536 rows of 32 instructions.
BENCHMARK_CAPTURE(fullDownload, dsPIC30F_full, 0, 1536)->Unit(benchmark::kSecond)->Iterations(1)->UseManualTime();
// A dsPIC33F with 96 rows of 512 instructions (a quarter of a 256 KB part's flash).
BENCHMARK_CAPTURE(fullDownload, dsPIC33F_96rows, 1, 96)->Unit(benchmark::kSecond)->Iterations(1)->UseManualTime();
// Four times as much: the fixed pauses weigh less.
BENCHMARK_CAPTURE(fullDownload, dsPIC33F_384rows, 1, 384)->Unit(benchmark::kSecond)->Iterations(1)->UseManualTime();

BENCHMARK_MAIN();
