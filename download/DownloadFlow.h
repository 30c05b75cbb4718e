// One whole download, as the start button runs it: the HEX file read and checked, the
// controller woken, its bootloader entered and its part identified, the rows written, and the
// result shown. The success texts appear only after every row was acknowledged; every failure
// ends with its status text and one box.
//
// Thread context: the download's worker thread (never the GUI thread: it blocks for the whole
// download). Cancel through the link from any thread.
#pragma once

#include <filesystem>
#include <string>

#include "download/Bootloader.h"
#include "download/ComLink.h"
#include "download/DownloadReporter.h"
#include "download/DownloadResult.h"
#include "platform/Clock.h"

namespace download {

struct DownloadRequest {
  std::string portName;  // "COM3"
  std::filesystem::path hexFile;
};

DownloadResult runDownload(const DownloadRequest& request, ComLink& link, platform::Clock& clock,
                           DownloadReporter& reporter, const BootTiming& timing = {});

}  // namespace download
