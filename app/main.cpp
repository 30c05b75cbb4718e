// Headless start of veltris until the main window exists: loads the machine parameters beside
// the program, lists the serial ports and shows the defaults of a new document.
#include "machine/ComPorts.h"
#include "machine/MachineParameters.h"
#include "machine/SharedParameters.h"
#include "machine/TraceLog.h"
#include "panel/MainFormState.h"
#include "panel/NewDocument.h"
#include "platform/NumberFormat.h"
#include "platform/ProgramPath.h"

#include <algorithm>
#include <cctype>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
  const std::filesystem::path exe = platform::executablePath();
  std::string programName = exe.filename().string();
  std::transform(programName.begin(), programName.end(), programName.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });

  machine::Protokoll_loeschen();

  machine::Maschinenparameter params;
  params.Parameterdatei = (platform::programFolder() / machine::ParamDateiname(programName)).string();
  if (!machine::Parameter_Laden(params)) {
    std::cerr << "Die Parameterdatei " << params.Parameterdatei << " kann nicht gelesen werden.\n";
  }
  machine::machineParameters().assign(params);

  panel::TMainFormState form;
  panel::StringGrid_Neu(form);

  std::cout << "Tessaly (ohne Fenster)\n"
            << "Parameterdatei: " << params.Parameterdatei << "\n"
            << "Modul=" << params.Modul << " ComPort=COM" << params.ComPort << " Baudrate=" << params.Baudrate
            << "\n"
            << "Schnittstellen:";
  for (const auto& port : machine::ComPorts_auflisten()) std::cout << ' ' << port;
  std::cout << "\nNeues Dokument " << form.Dokumentpfad << ": "
            << platform::formatFixed(form.Abmessungen.Plattenbreite, 2) << " x "
            << platform::formatFixed(form.Abmessungen.Plattenhoehe, 2) << " mm, Tiefe "
            << platform::formatFixed(form.Abmessungen.Standardtiefe, 2) << " mm\n";
  for (int i = 1; i < argc; ++i) std::cout << "Argument: " << argv[i] << "\n";

  machine::Protokoll_loeschen();
  return 0;
}
