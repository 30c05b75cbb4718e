// The stroke fonts of TEXT rows, each file read once per version of it: a TEXT row is parsed for
// every redraw and, while it is selected, for every mouse move over the panel, and reading and
// parsing its font each time would make both slow.
//
// Thread context: any thread (drawing on the GUI thread, milling on the run's thread); the cache
// locks itself. Looking a font up costs a file-status call; only a new or changed file is read.
#pragma once

#include <memory>
#include <string_view>

#include "panel/types/StrokeFont.h"

namespace panel {

// The font of a font cell as loadStrokeFont gives it. A file is read again once its identity,
// size or time of change differ from the version read before. The result is shared and never
// changed.
std::shared_ptr<const FontLoad> sharedStrokeFont(std::string_view schriftname);

}  // namespace panel
