// A serial port over termios: raw 8N1 without flow control, exclusive to this process, with
// writes bounded by a deadline and reads that another thread can wake.
//
// Thread context: one reader thread may block in readByte or readAvailable while other threads
// write, purge or call wakeReader; everything else on one thread at a time. readByte blocks until
// a byte comes, the reader is woken or the line hangs up; readAvailable and write block at most
// until their deadline. The object
// owns its descriptors (all O_CLOEXEC) and closes them on destruction.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

enum class SerialOpenError {
  None,
  NoSuchDevice,         // the path does not exist or names no device
  Busy,                 // another process holds the port
  UnsupportedBaudrate,  // the terminal interface has no such rate; nothing was opened
  Other,                // any other failure: permission, not a terminal, a rate the device refuses
};

struct SerialOpenResult {
  std::unique_ptr<class SerialPort> port;  // null on failure
  SerialOpenError error = SerialOpenError::None;
  int systemError = 0;  // errno of the failing call
};

enum class SerialRead { Byte, Woken, HangUp };

enum class SerialWait { Data, TimedOut, Woken, HangUp };

// The modem lines a port holds while it is open, where the device has them.
enum class ModemLines {
  DtrOffRtsOn,  // the text-protocol controllers
  Off,          // DTR and RTS both off: the bootloader link
};

enum class SerialWrite { Done, TimedOut, HangUp, Failed };

class SerialPort {
 public:
  // Opens `path` for reading and writing, takes an exclusive lock on it and sets it raw 8N1 at
  // `baudrate` (any rate the terminal interface has, 50 to 4000000 on Linux), no flow control,
  // the modem lines as `lines` says where the device has them.
  static SerialOpenResult open(const std::string& path, int baudrate, ModemLines lines = ModemLines::DtrOffRtsOn);

  // Whether open can set `baudrate` at all (the device may still refuse it).
  static bool baudrateSupported(int baudrate);

  ~SerialPort();
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // Discards what was received but not read, or written but not sent.
  void purgeInput();
  void purgeOutput();

  // Writes every byte unless `timeout` runs out first or the line fails.
  SerialWrite write(std::string_view bytes, std::chrono::milliseconds timeout);

  // Reads one byte into `out`. Woken once wakeReader was called (and for every read after it);
  // HangUp when the other end has gone (end of file or an I/O error).
  SerialRead readByte(char& out);

  // Waits up to `timeout` for input, then appends to `out` what has arrived, at most `max` bytes.
  // Data when something was appended; Woken once wakeReader was called; HangUp when the other end
  // has gone.
  SerialWait readAvailable(std::string& out, std::size_t max, std::chrono::milliseconds timeout);

  // Makes a blocked readByte or readAvailable return Woken, now and from then on.
  void wakeReader();

  // Bytes received and not read yet (0 when the driver cannot tell).
  std::size_t pendingInput() const;

 private:
  SerialPort(int fd, int wakeFd) : fd_(fd), wakeFd_(wakeFd) {}

  int fd_;
  int wakeFd_;
};

}  // namespace platform
