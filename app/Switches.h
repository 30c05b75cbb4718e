// The command-line switches of veltris and the window title built from them.
//
// Thread context: pure functions; any thread. Nothing blocks.
#pragma once

#include <string>
#include <vector>

namespace app {

struct Schalter {
  bool bHerstellermodus = false;    // "/ZELKO": maker mode
  bool bEntwicklungsmodus = false;  // "/ENTWICKLUNG": development mode
  bool bProtokollmodus = false;     // "/PROTOKOLL": shown in the title only
  int timeCount = 0;                // how often "/TIME" was given
};

// Reads every argument, the program path in args[0] included, upper-cased and compared whole.
// "/WZL" is recognised and has no effect.
Schalter Schalter_lesen(const std::vector<std::string>& args);

// "/ZELKO ", "/ENTWICKLUNG ", "/PROTOKOLL " for the switches that are on, in this order.
std::string Schaltertext(const Schalter& schalter);

// The title prefix: "Tessaly für <model>   22.01.13      <switch text>   ".
std::string Fenstertitel_bilden(const std::string& modellname, const Schalter& schalter);

// The time stamp "/TIME" gives the development files: 22 January 2013, 08:00:00.
void Dateizeiten_stempeln();

}  // namespace app
