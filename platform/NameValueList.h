// The name=value lines of the program's data files, looked up by name.
//
// Thread context: a plain value; any thread. Nothing blocks.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {

// A line counts only when it has a '='; its name is the text before the first one, compared
// without regard to case (ASCII and Latin letters), and of two lines with one name the first
// counts.
class NameValueList {
 public:
  explicit NameValueList(const std::vector<std::string>& lines);

  // The text after the '=' of that line; empty for a name no line has.
  std::string_view value(std::string_view name) const;
  // Whether a line has that name (its value may be empty).
  bool contains(std::string_view name) const;

 private:
  std::unordered_map<std::string, std::string> values_;
};

}  // namespace platform
