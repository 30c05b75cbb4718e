// The Qt font for a drawing font, with the fallback used when this machine lacks the family.
//
// Thread context: any thread once the QGuiApplication exists (the font database needs it).
// Does not block beyond the font database's own lock.
#pragma once

#include <QFont>

#include "platform/Canvas.h"

namespace platform {

// The family as asked if this machine has it; otherwise the system fixed font for a
// monospace request ("Courier New", "Courier") and the default sans font for any other.
// The size in points is taken as on a 96-dpi screen: pixel size = round(size * 96 / 72),
// at least 1. Bold is honoured.
QFont qtFontFor(const Font& font);

}  // namespace platform
