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

// Deletes the trace log at program start (a missing log is no error); lines are written again
// after an endTraceLog.
void Protokoll_loeschen();

// Deletes the trace log at a normal close; the lines written after it (the shutdown of links and
// threads) are dropped, so that the log stays deleted.
void endTraceLog();

// The text with STX, ETX, ACK, BEL, CR and NAK replaced by "<STX>", "<ETX>", "<ACK>", "<BEL>",
// "<CR>" and "<NAK>"; every other byte, line feed included, unchanged.
std::string Steuerzeichen_darstellen(std::string_view text);

}  // namespace machine
