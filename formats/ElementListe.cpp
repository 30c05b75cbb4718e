// The out-of-memory texts of the path element lists.
#include "ElementListe.h"

#include <iostream>

namespace formats {

void Speichermangel_melden(bool leer) {
  std::cerr << (leer ? "Kein Speicherplatz vorhanden fuer anfang\n" : "Kein Speicherplatz fuer das letzte Element\n");
}

}  // namespace formats
