// Benchmark of an opened plot file: a generated 50 MB HPGL file (pen-up travels and pen-down
// lists of 20 points, one instruction pair per line) is loaded as the main window loads it, into
// the text view and through the HPGL module, and drawn in its own view onto the Qt canvas at
// 1024 x 768. Runs on Qt's offscreen platform; not part of the test run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QGuiApplication>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "formats/HpglModule.h"
#include "panel/DrawContext.h"
#include "platform/ProgramPath.h"
#include "platform/TextFile.h"
#include "platform/qt/QtCanvas.h"

namespace {

constexpr std::size_t kBytes = 50u << 20;

// Points the trace log at a folder of its own and keeps the generated plot there.
struct Folder {
  Folder() : dir(std::filesystem::temp_directory_path() / ("veltris-hpgl-bench-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(dir);
    platform::setProgramFolder(dir);
  }
  ~Folder() { std::filesystem::remove_all(dir); }
  std::filesystem::path dir;
};

// A random walk over a 1 x 0.8 m sheet in plotter units.
std::filesystem::path generatedPlot(const std::filesystem::path& dir) {
  const std::filesystem::path path = dir / "gross.plt";
  std::mt19937 random(17);
  std::uniform_int_distribution<int> step(-200, 200);
  std::string text = "IN;SP1;\r\n";
  text.reserve(kBytes + 1024);
  int x = 20000;
  int y = 16000;
  while (text.size() < kBytes) {
    text += "PU" + std::to_string(x) + "," + std::to_string(y) + ";PD";
    for (int i = 0; i < 20; ++i) {
      x = std::clamp(x + step(random), 0, 40000);
      y = std::clamp(y + step(random), 0, 32000);
      text += std::to_string(x) + "," + std::to_string(y) + (i < 19 ? "," : ";\r\n");
    }
  }
  text += "PU;SP0;\r\n";
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

const std::filesystem::path& plotPath() {
  static const Folder folder;
  static const std::filesystem::path path = generatedPlot(folder.dir);
  return path;
}

// The parts of an open on their own: the text view, the reading, the drawing.
void BM_TextView(benchmark::State& state) {
  for (auto _ : state) {
    const platform::TextReadResult text = platform::readTextLines(plotPath());
    benchmark::DoNotOptimize(text.lines.data());
  }
}
BENCHMARK(BM_TextView)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReadPlot(benchmark::State& state) {
  for (auto _ : state) {
    formats::THPGLDataModule plot;
    plot.HPGL_Parser(plotPath());
    benchmark::DoNotOptimize(plot.elements().size());
  }
}
BENCHMARK(BM_ReadPlot)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_DrawPlot(benchmark::State& state) {
  formats::THPGLDataModule plot;
  plot.HPGL_Parser(plotPath());
  panel::TMainFormState form;
  panel::ObjectTypeTable types;
  platform::QtCanvas canvas({1024, 768});
  for (auto _ : state) {
    panel::DrawContext context{form, canvas, types};
    plot.HPGL_Paint(context, true);
  }
}
BENCHMARK(BM_DrawPlot)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_OpenAndDrawPlot(benchmark::State& state) {
  const std::filesystem::path& path = plotPath();
  panel::TMainFormState form;
  form.Dokumenttyp = panel::DocumentKind::Hpgl;
  panel::ObjectTypeTable types;
  platform::QtCanvas canvas({1024, 768});
  std::size_t elements = 0;
  for (auto _ : state) {
    const platform::TextReadResult text = platform::readTextLines(path);
    benchmark::DoNotOptimize(text.lines.data());
    formats::THPGLDataModule plot;
    plot.HPGL_Parser(path);
    panel::DrawContext context{form, canvas, types};
    plot.HPGL_Paint(context, true);
    elements = plot.elements().size();
  }
  state.counters["MB"] = static_cast<double>(std::filesystem::file_size(path)) / (1 << 20);
  state.counters["elements"] = static_cast<double>(elements);
}
BENCHMARK(BM_OpenAndDrawPlot)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
