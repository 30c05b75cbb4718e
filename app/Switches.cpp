// Switch parsing and the title prefix.
#include "Switches.h"

#include "machine/FileTimes.h"

namespace app {

namespace {

std::string upperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

}  // namespace

Schalter Schalter_lesen(const std::vector<std::string>& args) {
  Schalter s;
  for (const auto& arg : args) {
    const std::string upper = upperAscii(arg);
    if (upper == "/ZELKO") s.bHerstellermodus = true;
    if (upper == "/ENTWICKLUNG") s.bEntwicklungsmodus = true;
    if (upper == "/PROTOKOLL") s.bProtokollmodus = true;
    if (upper == "/TIME") ++s.timeCount;
    // "/WZL" once switched the tool-length measurement on; it is cleared right after the
    // arguments are read and so changes nothing.
  }
  return s;
}

std::string Schaltertext(const Schalter& s) {
  std::string text;
  if (s.bHerstellermodus) text += "/ZELKO ";
  if (s.bEntwicklungsmodus) text += "/ENTWICKLUNG ";
  if (s.bProtokollmodus) text += "/PROTOKOLL ";
  return text;
}

std::string Fenstertitel_bilden(const std::string& modellname, const Schalter& schalter) {
  return std::string("Tessaly") + " für " + modellname + "   " + "22.01.13" + "      " + Schaltertext(schalter) + "   ";
}

void Dateizeiten_stempeln() {
  machine::FileTimeStamp stamp;
  stamp.year = 2013;
  stamp.month = 1;
  stamp.dayOfWeek = 2;
  stamp.day = 22;
  stamp.hour = 8;
  machine::Dateizeiten_setzen(stamp, "", "");
}

}  // namespace app
