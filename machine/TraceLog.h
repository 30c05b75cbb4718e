// The trace log "~protokoll.log" in the program folder and the rendering of protocol control
// bytes for it.
//
// Thread context: any thread. Each line opens, appends to and closes the file; writers are
// serialised so that lines from different threads never interleave. Blocks on file I/O.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace machine {

// Path of the trace log: program folder + "~protokoll.log".
std::filesystem::path Protokolldatei();

// Appends one line (control bytes rendered) to the trace log; a log that cannot be opened
// loses the line silently.
void Protokoll_schreiben(std::string_view text);

// Deletes the trace log (program start and normal close); a missing log is no error.
void Protokoll_loeschen();

// The text with STX, ETX, ACK, BEL, CR and NAK replaced by "<STX>", "<ETX>", "<ACK>", "<BEL>",
// "<CR>" and "<NAK>"; every other byte, line feed included, unchanged.
std::string Steuerzeichen_darstellen(std::string_view text);

}  // namespace machine
