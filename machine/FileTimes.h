// Setting the file times of the development files in the program folder to one time stamp.
//
// Thread context: any thread (the program calls it once at start, on the GUI thread). Blocks on
// file-system calls.
#pragma once

#include <string>

namespace machine {

// A calendar time stamp, taken as UTC. dayOfWeek (0 = Sunday) is carried for callers that know
// it and is not used: the date alone fixes the time.
struct FileTimeStamp {
  int year = 0;
  int month = 0;  // 1-12
  int dayOfWeek = 0;
  int day = 0;  // 1-31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// Sets the access and modification time of every regular file in the program folder whose
// extension (compared without regard to case) is one of cpp, h, dfm, res, bpr, dat, tvx, obj,
// exe, txt, lnk, bat, png, or extA or extB when those are not empty (an extension is taken
// literally, without the dot). A time stamp that is not a valid date and time changes nothing;
// files that cannot be changed are skipped. Linux keeps no settable creation time.
void Dateizeiten_setzen(const FileTimeStamp& stamp, const std::string& extA, const std::string& extB);

}  // namespace machine
