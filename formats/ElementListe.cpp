// Path element lists.
#include "ElementListe.h"

#include <iostream>
#include <new>
#include <string>

namespace formats {

bool ElementListe::Element_anhaengen(std::string_view befehl, std::string_view argument, std::int32_t stift, double x,
                                     double y, double z) {
  if (elemente_.size() < maxElemente_) {
    try {
      elemente_.push_back(ElementKnoten{std::string(befehl.substr(0, layout_.befehlMax)),
                                        std::string(argument.substr(0, layout_.argumentMax)), stift, x, y, z});
      return true;
    } catch (const std::bad_alloc&) {
    }
  }
  // Once per list: a file that overflows it would otherwise write a line for every element left.
  if (!vollGemeldet_) {
    std::cerr << (elemente_.empty() ? "Kein Speicherplatz vorhanden fuer anfang\n"
                                    : "Kein Speicherplatz fuer das letzte Element\n");
    vollGemeldet_ = true;
  }
  return false;
}

void ElementListe::Liste_loeschen() {
  std::vector<ElementKnoten>().swap(elemente_);
  vollGemeldet_ = false;
}

}  // namespace formats
