// How a download ended, and the texts the window shows for it.
//
// Thread context: any thread; constants only.
#pragma once

namespace download {

enum class DownloadResult {
  Success,
  HexFileNotOpened,  // the chosen file cannot be opened
  BadHexFile,        // the file is not a good Intel-HEX file, or does not fit the part
  PortNotOpened,     // the serial port cannot be opened
  NoAnswer,          // the controller's firmware did not answer the wake-up
  BootloaderSilent,  // the bootloader did not answer, or answered short
  UnknownDevice,     // the part is not in the device table
  WriteRefused,      // a row was refused at every attempt, the last one included
  WriteError,        // the line failed while writing
  Cancelled,         // the user cancelled
};

// Status line texts (the status line is English).
inline constexpr const char* kStatusRunning = "Übertragung läuft! Bitte warten ... ";
inline constexpr const char* kStatusReadingHexFile = "Reading HexFile";
inline constexpr const char* kStatusHexFileNotOpened = "Cannot open HexFile";
// Followed by the port's name.
inline constexpr const char* kStatusPortNotOpened = "Cannot open Port";
inline constexpr const char* kStatusBadHexFile = "Bad HexFile";
inline constexpr const char* kStatusReadingTargetDevice = "Reading Target Device";
inline constexpr const char* kStatusFoundDevice = "Found Device.";
inline constexpr const char* kStatusReadingTarget = "Reading Target";
inline constexpr const char* kStatusProgramming = "Programming Device ";
inline constexpr const char* kStatusDone = "Done.";
inline constexpr const char* kStatusFinished = "Download beendet!";
inline constexpr const char* kStatusNoAnswer = "No answer from Target";
inline constexpr const char* kStatusBootloaderSilent = "No answer from Bootloader";
inline constexpr const char* kStatusUnknownDevice = "Unknown Device";
inline constexpr const char* kStatusWriteRefused = "Programming failed";
inline constexpr const char* kStatusWriteError = "Write Error";
inline constexpr const char* kStatusCancelled = "Cancelled";

// Boxes.
inline constexpr const char* kCaptionFehler = "F E H L E R";
inline constexpr const char* kCaptionInformation = "Information";
inline constexpr const char* kBoxSuccess = "Datenübertragung erfolgreich beendet!";
inline constexpr const char* kBoxHexFileNotOpened = "Hex-Datei kann nicht geöffnet werden!";
inline constexpr const char* kBoxPortNotOpened = "Schnittstelle kann nicht geöffnet werden!";
inline constexpr const char* kBoxNoAnswer = "Die Steuerung antwortet nicht!";
inline constexpr const char* kBoxBootloaderSilent = "Der Bootloader antwortet nicht!";
inline constexpr const char* kBoxWriteRefused = "Die Steuerung hat die Daten nicht angenommen!";
inline constexpr const char* kBoxWriteError = "Schreibfehler auf der seriellen Schnittstelle!";
inline constexpr const char* kBoxCancelled = "Der Download wurde abgebrochen!";
// Added to a failure box once rows have gone to the device.
inline constexpr const char* kBoxIncomplete = "\nDie Firmware wurde nicht vollständig übertragen!";

}  // namespace download
