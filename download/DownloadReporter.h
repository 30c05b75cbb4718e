// What a download reports while it runs: the status line and message boxes.
//
// Thread context: called on the download's worker thread; the implementation hands the texts to
// the GUI thread. `message` blocks until the box has been closed.
#pragma once

#include <string>

#include "platform/UiServices.h"

namespace download {

class DownloadReporter {
 public:
  virtual ~DownloadReporter() = default;
  // The status line `Edit1`.
  virtual void status(const std::string& text) = 0;
  virtual void message(const std::string& text, const std::string& caption, platform::MsgIcon icon) = 0;
};

}  // namespace download
