// Helper program of the kill test: saves one file again and again, alternating between two
// contents that tell themselves apart whole ("B" and "A" repeated, "B" first), until it is killed.
// Usage: text_file_saver <path> <bytes per save>
#include <cstdlib>
#include <string>

#include "platform/TextFile.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const std::string path = argv[1];
  const std::size_t size = std::strtoul(argv[2], nullptr, 10);
  const std::string contents[2] = {std::string(size, 'A'), std::string(size + 1, 'B')};
  for (unsigned long n = 1;; ++n) {
    if (!platform::writeFileAtomic(path, contents[n % 2])) return 1;
  }
}
