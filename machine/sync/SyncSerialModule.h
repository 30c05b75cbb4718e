// The transfer and the shared commands of the synchronous serial interface modules (Beryl,
// controller type 2, and Kyro, type 3): a command is the text and one terminator byte (CR stores
// or sets, 0x01 executes); an answer ends at CR or after one second without a byte; ETX in an
// answer means busy, STX idle. Values out of range are clamped or skipped after a warning box;
// only a position that cannot be read, and a move or homing run that a standing stop request
// keeps from being sent (USER_ABORT), are thrown as failure codes.
//
// Thread context: every operation runs on the thread that calls it (a worker during runs, homing
// and jogging; the GUI thread for the connection step) and blocks until its answer has come or
// the silence has run out; it never processes GUI events. The two stop operations may come from
// the GUI thread while a worker waits: they send at once and release that wait. Boxes are shown
// on the GUI thread while the caller waits. Verbinden and Trennen run on the GUI thread while no
// other operation runs. The UI services, the dispatcher and the clock must outlive the object.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "machine/SyncSerialBackend.h"
#include "platform/Clock.h"
#include "platform/GuiDispatcher.h"
#include "platform/SerialPort.h"
#include "platform/UiServices.h"

namespace machine {

inline constexpr char kSyncStx = 0x02;      // idle
inline constexpr char kSyncEtx = 0x03;      // busy
inline constexpr char kSyncCr = 0x0D;       // end of an answer, terminator of settings
inline constexpr char kSyncExecute = 0x01;  // terminator that makes the module execute

// What tells the two modules apart.
struct SyncModuleTraits {
  const char* modelString;  // the identification that "@V" must answer
  const char* openCaption;  // caption of the box when the port cannot be opened
  int maxSpeedIndex;        // highest index of the speed table
  std::size_t answerBytes;  // longest answer kept
};

class SyncSerialModule : public SyncSerialBackend {
 public:
  static constexpr int kBaudrate = 19200;
  static constexpr int kMaxFrequenz = 5000;
  static constexpr int kMaxRampenlaenge = 60000;
  // One second without a byte ends an answer.
  static constexpr std::int64_t kStilleMs = 1000;
  // At most this much waiting input is discarded when the port is opened.
  static constexpr std::size_t kMaxDrainBytes = 512;

  SyncSerialModule(SyncModuleTraits traits, platform::UiServices& ui, platform::GuiDispatcher& gui,
                   platform::Clock& clock);
  ~SyncSerialModule() override;
  SyncSerialModule(const SyncSerialModule&) = delete;
  SyncSerialModule& operator=(const SyncSerialModule&) = delete;

  // Link.
  void OnDestroy() override { Trennen(); }
  // Opens the port of a text such as "COM3" at 19200 baud and discards what waits on it. False,
  // after a box naming the port, when it cannot be opened.
  bool Verbinden(const std::string& portText) override;
  void Trennen() override;
  bool offen() const;

  // Transfer.
  void Befehl_senden(const std::string& text, int terminator) override;
  std::string Antwort_lesen() override;
  void Warten_bis_bereit() override;

  // Commands of both modules.
  void Reset_durchfuehren() override;
  // The model string and what follows it; nullopt when the unit does not identify as this model.
  std::optional<std::string> Version_abfragen() override;
  // The axis position in steps. Throws HANDLE_COM_PORT_ERROR without a port, WAIT_TIMEOUT when
  // no answer ends within its second of silence, COMMUNICATION_ERROR for an answer that is no
  // position of that axis.
  int Wert_abfragen(char axis) override;
  void Startgeschwindigkeit_einstellen(int hz) override;
  void Endgeschwindigkeit_einstellen(int speedIndex, int hz) override;
  void Rampenlaenge_einstellen(int ms) override;
  void Referenzfahrt_ausfuehren(const std::string& axes) override;
  void Vektorfahrt_ausfuehren(int mode, int speedIndex, int x, int y, int z, int terminator) override;
  void Achsen_anhalten() override;
  void Achsen_sofort_stoppen() override;
  void bindStopRequest(std::atomic<bool>& bAbbruch) override { stopRequest_.store(&bAbbruch); }

  // The state the module reported and the values last sent.
  bool busy() const { return busy_.load(); }
  const std::string& letzteAntwort() const { return antwort_; }
  int startfrequenz() const { return startfreq_; }
  int geschwindigkeit(int index) const;
  int rampenlaenge() const { return rampenlaenge_; }
  int referenzgeschwindigkeit() const { return refFreq_; }

 protected:
  // A warning box with the given caption, on the GUI thread; returns when it was closed.
  void warnung(const std::string& text, const std::string& caption);
  // Sends a setting and reads its answer, after waiting until the module is idle.
  void einstellen(const std::string& text);
  void setReferenzgeschwindigkeit(int hz) { refFreq_ = hz; }
  const SyncModuleTraits& traits() const { return traits_; }

 private:
  void stoppen(const char* command);
  // Writes the bytes; with `purge`, input that waits is discarded first (never the output queue).
  // A `bewegung` (an executed move or homing run) is not written while a stop request stands:
  // false, the request cleared.
  bool schreiben(const std::string& bytes, bool purge, bool bewegung = false);
  // Sends an executed move or homing run unless a stop request stands; false (the request
  // cleared) when it did and nothing was written.
  bool bewegungSenden(const std::string& text);

  SyncModuleTraits traits_;
  platform::UiServices& ui_;
  platform::GuiDispatcher& gui_;
  platform::Clock& clock_;
  std::unique_ptr<platform::SerialPort> port_;
  // Writes come from the calling thread and from a stop on the GUI thread.
  std::mutex writeMutex_;
  // Held while an answer is read; a stop that finds it taken leaves its answer to that reader.
  std::mutex readMutex_;
  std::atomic<bool> busy_{false};
  // Counts stops, so that a wait for idle ends at a stop even if a late ETX comes after it.
  std::atomic<std::uint64_t> stops_{0};
  // The stop count when the last command was sent.
  std::atomic<std::uint64_t> stopsAtCommand_{0};
  // Checked under the write lock before a motion is written, against a stop written meanwhile.
  std::atomic<std::atomic<bool>*> stopRequest_{nullptr};
  std::string antwort_;
  int startfreq_ = 0;
  std::array<int, 101> speeds_{};
  int rampenlaenge_ = 0;
  int refFreq_ = 0;
};

}  // namespace machine
