// The out-of-memory texts of the path element lists.
#include "ElementList.h"

#include <iostream>

namespace formats {

void reportOutOfMemory(bool empty) {
  std::cerr << (empty ? "Kein Speicherplatz vorhanden fuer anfang\n" : "Kein Speicherplatz fuer das letzte Element\n");
}

}  // namespace formats
