// The error answer of the text protocol controllers: "E<n>" followed by BEL.
//
// Thread context: a pure function; any thread.
#pragma once

#include <optional>
#include <string>

namespace machine {

// Code of the first controller error answer; an answer "E<n>" BEL is code kErrorCodeBase + n.
inline constexpr int kErrorCodeBase = 1020;

// The controller's error answer "E<n>" BEL as code 1020+n; nullopt for any other answer.
std::optional<int> errorAnswerCode(const std::string& answer);

}  // namespace machine
