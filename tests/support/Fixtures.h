// The small files of tests/fixtures that show a fault by their content (bounds, refusals).
//
// Thread context: any thread; nothing blocks.
#pragma once

#include <filesystem>
#include <string_view>

namespace testsupport {

inline std::filesystem::path fixture(std::string_view name) { return std::filesystem::path(VELTRIS_FIXTURES) / name; }

}  // namespace testsupport
