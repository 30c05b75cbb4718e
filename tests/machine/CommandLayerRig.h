// A command layer on default parameters with recording back-ends, one shared call log and a
// temporary program folder for the trace log.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "RecordingBackends.h"
#include "machine/CommandLayer.h"
#include "machine/MachineParameters.h"
#include "machine/TraceLog.h"
#include "platform/TextFile.h"
#include "support/TempFolder.h"

namespace machinetest {

struct CommandLayerRig {
  explicit CommandLayerRig(int modul) {
    machine::Parameter_Vorbelegen(params);
    params.Modul = modul;
  }

  // Puts one back-end of every family in place, as if each type had been connected once.
  void createAllBackends() {
    backends.Garnet = factory.createGarnet();
    backends.TaktRicht = factory.createTaktRicht();
    backends.Beryl = factory.createBeryl();
    backends.Kyro = factory.createKyro();
    backends.zelkoCOM = factory.createZelkoCOM();
  }

  // The recorded calls joined by " | ".
  std::string calls() const {
    std::string out;
    for (const auto& line : log.lines) out += (out.empty() ? "" : " | ") + line;
    return out;
  }

  // The lines of the trace log so far.
  static std::vector<std::string> traceLines() {
    std::string bytes;
    platform::readFileBytes(machine::Protokolldatei(), bytes);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
      lines.push_back(bytes.substr(start, end - start));
    return lines;
  }

  testsupport::ProgramFolder folder;
  CallLog log;
  RecordingBackendFactory factory{log};
  machine::ControllerBackends backends;
  machine::Maschinenparameter params;
  std::atomic<bool> stop{false};
  machine::CommandLayer layer{params, backends, stop};
};

}  // namespace machinetest
