// Benchmark of an opened DIN/ISO program and DXF drawing: a generated 100 MB program (N-numbered
// feed blocks over a 1 x 0.8 m sheet with a quarter arc every twentieth block) and a generated
// 15 MB drawing (LINE, ARC, CIRCLE and bulged closed LWPOLYLINE entities in turn) are each loaded
// as the main window loads them, into the text view and through their module, and drawn in their
// own view onto the Qt canvas at 1024 x 768. Runs on Qt's offscreen platform; not part of the
// test run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "formats/DinIsoModule.h"
#include "formats/DxfModule.h"
#include "panel/DrawContext.h"
#include "platform/NumberFormat.h"
#include "platform/ProgramPath.h"
#include "platform/TextFile.h"
#include "platform/qt/QtCanvas.h"

namespace {

constexpr std::size_t kProgramBytes = 100u << 20;
constexpr std::size_t kDrawingBytes = 15u << 20;

// Points the trace log at a folder of its own and keeps the generated files there.
struct Folder {
  Folder() : dir(std::filesystem::temp_directory_path() / ("veltris-foreign-bench-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(dir);
    platform::setProgramFolder(dir);
  }
  ~Folder() { std::filesystem::remove_all(dir); }
  std::filesystem::path dir;
};

const Folder& folder() {
  static const Folder f;
  return f;
}

std::string mm(double v) { return platform::formatFixed(v, 3); }

std::filesystem::path generatedProgram() {
  const std::filesystem::path path = folder().dir / "gross.nc";
  std::mt19937 random(17);
  std::uniform_real_distribution<double> step(-5.0, 5.0);
  std::string text = "%\r\nG17 G90 G71\r\nG00 X500 Y400 Z-1\r\nM03 F600\r\n";
  text.reserve(kProgramBytes + 1024);
  double x = 500.0;
  double y = 400.0;
  for (long n = 1; text.size() < kProgramBytes; ++n) {
    if (n % 20 == 0) {
      // A counter-clockwise quarter circle of radius 4 round the point 4 mm to the left.
      text += "N" + std::to_string(n) + " G03 X" + mm(x - 4.0) + " Y" + mm(y + 4.0) + " I-4 J0\r\n";
      x -= 4.0;
      y += 4.0;
    } else {
      x = std::clamp(x + step(random), 10.0, 990.0);
      y = std::clamp(y + step(random), 10.0, 790.0);
      text += "N" + std::to_string(n) + " G01 X" + mm(x) + " Y" + mm(y) + " Z-1\r\n";
    }
  }
  text += "M05\r\nM30\r\n";
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

std::filesystem::path generatedDrawing() {
  const std::filesystem::path path = folder().dir / "gross.dxf";
  std::mt19937 random(23);
  std::uniform_real_distribution<double> at(20.0, 980.0);
  const auto pair = [](std::string& text, int code, const std::string& value) {
    text += (code < 10 ? "  " : code < 100 ? " " : "") + std::to_string(code) + "\r\n" + value + "\r\n";
  };
  std::string text;
  text.reserve(kDrawingBytes + 4096);
  pair(text, 0, "SECTION");
  pair(text, 2, "ENTITIES");
  for (long n = 0; text.size() < kDrawingBytes; ++n) {
    const double x = at(random);
    const double y = at(random) * 0.8;
    switch (n % 4) {
      case 0:
        pair(text, 0, "LINE");
        pair(text, 8, "0");
        pair(text, 10, mm(x));
        pair(text, 20, mm(y));
        pair(text, 11, mm(x + 12.0));
        pair(text, 21, mm(y + 7.0));
        break;
      case 1:
        pair(text, 0, "ARC");
        pair(text, 8, "0");
        pair(text, 10, mm(x));
        pair(text, 20, mm(y));
        pair(text, 40, "6.0");
        pair(text, 50, "300.0");
        pair(text, 51, "60.0");
        break;
      case 2:
        pair(text, 0, "CIRCLE");
        pair(text, 8, "0");
        pair(text, 10, mm(x));
        pair(text, 20, mm(y));
        pair(text, 40, "3.0");
        break;
      default:
        pair(text, 0, "LWPOLYLINE");
        pair(text, 8, "0");
        pair(text, 90, "4");
        pair(text, 70, "1");
        pair(text, 10, mm(x));
        pair(text, 20, mm(y));
        pair(text, 10, mm(x + 10.0));
        pair(text, 20, mm(y));
        pair(text, 42, "0.4142");
        pair(text, 10, mm(x + 10.0));
        pair(text, 20, mm(y + 10.0));
        pair(text, 10, mm(x));
        pair(text, 20, mm(y + 10.0));
        break;
    }
  }
  pair(text, 0, "ENDSEC");
  pair(text, 0, "EOF");
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

const std::filesystem::path& programPath() {
  static const std::filesystem::path path = generatedProgram();
  return path;
}

const std::filesystem::path& drawingPath() {
  static const std::filesystem::path path = generatedDrawing();
  return path;
}

void report(benchmark::State& state, const std::filesystem::path& path, std::size_t elements) {
  state.counters["MB"] = static_cast<double>(std::filesystem::file_size(path)) / (1 << 20);
  state.counters["elements"] = static_cast<double>(elements);
}

// The parts of an open on their own, then the whole: text view, reading, drawing.
void BM_ReadProgram(benchmark::State& state) {
  programPath();  // generated before the clock runs
  std::size_t elements = 0;
  for (auto _ : state) {
    formats::TDINISODataModule program;
    program.DINISO_Parser(programPath());
    elements = program.elements().size();
  }
  report(state, programPath(), elements);
}
BENCHMARK(BM_ReadProgram)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_OpenAndDrawProgram(benchmark::State& state) {
  programPath();
  panel::TMainFormState form;
  form.Dokumenttyp = panel::DocumentKind::DinIso;
  panel::ObjectTypeTable types;
  platform::QtCanvas canvas({1024, 768});
  std::size_t elements = 0;
  for (auto _ : state) {
    const platform::TextReadResult text = platform::readTextLines(programPath());
    benchmark::DoNotOptimize(text.lines.data());
    formats::TDINISODataModule program;
    program.DINISO_Parser(programPath());
    panel::DrawContext context{form, canvas, types};
    program.DINISO_Paint(context);
    elements = program.elements().size();
  }
  report(state, programPath(), elements);
}
BENCHMARK(BM_OpenAndDrawProgram)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReadDrawing(benchmark::State& state) {
  const platform::TextReadResult text = platform::readTextLines(drawingPath());
  std::size_t elements = 0;
  for (auto _ : state) {
    formats::TDXFDataModule drawing;
    drawing.DXF_Parser(text.lines);
    elements = drawing.elements().size();
  }
  report(state, drawingPath(), elements);
}
BENCHMARK(BM_ReadDrawing)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_OpenAndDrawDrawing(benchmark::State& state) {
  drawingPath();
  panel::TMainFormState form;
  form.Dokumenttyp = panel::DocumentKind::Dxf;
  panel::ObjectTypeTable types;
  platform::QtCanvas canvas({1024, 768});
  std::size_t elements = 0;
  for (auto _ : state) {
    const platform::TextReadResult text = platform::readTextLines(drawingPath());
    formats::TDXFDataModule drawing;
    drawing.DXF_Parser(text.lines);
    panel::DrawContext context{form, canvas, types};
    drawing.DXF_Paint(context);
    elements = drawing.elements().size();
  }
  report(state, drawingPath(), elements);
}
BENCHMARK(BM_OpenAndDrawDrawing)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
