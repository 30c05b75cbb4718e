// The move texts both simulated serial controllers understand: "L<index>{,<axis><steps>}", with
// lower-case axes relative and upper-case ones absolute (99999: the axis stays).
//
// Thread context: any thread; pure functions.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace peers {

using SimPositions = std::array<int, 4>;  // x, y, z, u in steps

// 0 'x', 1 'y', 2 'z', 3 'u', either case; -1 otherwise.
int simAxisIndex(char letter);

// The positions after the move `command` from `current`; nullopt for a text of another form.
std::optional<SimPositions> simVectorTarget(const std::string& command, SimPositions current);

}  // namespace peers
