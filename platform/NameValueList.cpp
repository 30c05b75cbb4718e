// Lookup table of name=value lines.
#include "NameValueList.h"

#include "TextCodec.h"

namespace platform {

NameValueList::NameValueList(const std::vector<std::string>& lines) {
  for (const auto& line : lines) {
    const auto eq = line.find('=');
    if (eq == std::string::npos) continue;
    values_.emplace(lowerLatin(std::string_view(line).substr(0, eq)), line.substr(eq + 1));
  }
}

std::string_view NameValueList::value(std::string_view name) const {
  const auto it = values_.find(lowerLatin(name));
  return it == values_.end() ? std::string_view() : std::string_view(it->second);
}

bool NameValueList::contains(std::string_view name) const { return values_.count(lowerLatin(name)) > 0; }

}  // namespace platform
