// The protocol driver's link: opening (port numbers, missing and busy ports), the probe of
// Connect, closing while calls wait, reopening, and a line that hangs up.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "ZelkoRig.h"
#include "machine/FailureCodes.h"

namespace machinetest {
namespace {

class ZelkoLink : public ZelkoRig {};

class ConnectAfterSilence : public ZelkoLink, public ::testing::WithParamInterface<int> {};

TEST_P(ConnectAfterSilence, ConnectsOnTheFirstProbeThatIsAnswered) {
  const int silent = GetParam();
  if (silent > 0) sim.addFault(peers::SimFault::silence("", silent));
  connect();
  // Only probes went out, at least one after the silent ones (a busy machine may not take the
  // first answer within its 50 ms and probe once more).
  const auto commands = sim.commands();
  EXPECT_GE(commands.size(), static_cast<std::size_t>(silent) + 1);
  EXPECT_TRUE(commandsAfterProbes().empty());
  EXPECT_TRUE(ui.messageBoxes().empty());
  // A slow first answer leaves nothing behind: the next command gets its own answer.
  EXPECT_EQ(driver.Version_abfragen(), std::string("Cobalt-Kyro V1.0") + kAck);
}

INSTANTIATE_TEST_SUITE_P(SilentProbes, ConnectAfterSilence, ::testing::Values(0, 2, 10));

TEST_F(ZelkoLink, AProbeAnsweredLateIsNotTakenForTheFirstCommand) {
  // The first probe's answer comes after the second probe has been answered, and before the
  // first command's own answer would.
  sim.addFault(peers::SimFault::late("", 80ms));
  sim.addFault(peers::SimFault::late("#S", 40ms));
  connect();
  driver.Startgeschwindigkeit_einstellen(200);
  EXPECT_EQ(driver.letzteAntwort(), std::string(1, kAck));
}

TEST_F(ZelkoLink, ConnectWithoutAnAnswerShowsTheBoxAndThrowsWaitTimeout) {
  sim.addFault(peers::SimFault::silence("", -1));
  driver.Init(kSimPort, 115200);
  EXPECT_EQ(codeOf([&] { driver.Connect(); }), machine::WAIT_TIMEOUT);
  // The last probe may still be on its way to the controller when Connect gives up.
  EXPECT_TRUE(sim.waitForCommand("", kPatience, 11));
  EXPECT_EQ(sim.commands().size(), 11u);
  const auto boxes = ui.messageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Bitte die Schnittstelle überprüfen bzw.    \ndie Steuerung Aus- und Einschalten!");
  EXPECT_EQ(boxes[0].caption, "zelkoCOM->Connect");
  EXPECT_EQ(boxes[0].icon, platform::MsgIcon::Warning);
}

TEST_F(ZelkoLink, ConnectOnAClosedLinkShowsTheBoxAtOnce) {
  EXPECT_EQ(codeOf([&] { driver.Connect(); }), machine::WAIT_TIMEOUT);
  EXPECT_EQ(ui.messageBoxes().size(), 1u);
  EXPECT_TRUE(sim.commands().empty());
}

struct OpenCase {
  const char* name;
  int port;
  const char* device;  // the override of COM<port>; null: none
  int expected;
};

class OpenFailure : public ZelkoLink, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(OpenFailure, FailsAtOnceWithTheCodeOfItsCause) {
  const OpenCase& c = GetParam();
  if (c.device != nullptr) ::setenv(("VELTRIS_COM" + std::to_string(c.port)).c_str(), c.device, 1);
  EXPECT_EQ(codeOf([&] { driver.Init(c.port, 115200); }), c.expected);
  EXPECT_TRUE(clock.sleeps().empty());
  EXPECT_FALSE(driver.bAppStarted());
  EXPECT_EQ(codeOf([&] { driver.Startgeschwindigkeit_einstellen(100); }), machine::HANDLE_COM_PORT_ERROR);
}

INSTANTIATE_TEST_SUITE_P(Cases, OpenFailure,
                         ::testing::Values(OpenCase{"PortZero", 0, nullptr, machine::COM_PORT_ERROR},
                                           OpenCase{"NegativePort", -3, nullptr, machine::COM_PORT_ERROR},
                                           OpenCase{"PortBeyond127", 128, nullptr, machine::COM_PORT_ERROR},
                                           OpenCase{"NoSuchDevice", 9, "/dev/veltris-no-such-port",
                                                    machine::HANDLE_COM_PORT_ERROR},
                                           OpenCase{"NotASerialPort", 9, "/dev/null", machine::HANDLE_COM_PORT_ERROR}),
                         [](const auto& param) { return std::string(param.param.name); });

// Another process's hold on the port, as an exclusive lock on its device.
class PortHolder {
 public:
  explicit PortHolder(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC)) {
    EXPECT_EQ(::flock(fd_, LOCK_EX | LOCK_NB), 0);
  }
  ~PortHolder() { release(); }
  PortHolder(const PortHolder&) = delete;
  PortHolder& operator=(const PortHolder&) = delete;
  void release() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

// A clock whose sleeps only count, and that lets the holder go at a chosen sleep.
class ReleasingClock final : public platform::Clock {
 public:
  ReleasingClock(PortHolder& holder, std::size_t releaseAt) : holder_(holder), releaseAt_(releaseAt) {}
  std::int64_t nowMicros() override { return 0; }
  void sleepMicros(std::int64_t micros) override {
    sleeps.push_back(micros / 1000);
    if (sleeps.size() == releaseAt_) holder_.release();
  }
  std::vector<std::int64_t> sleeps;

 private:
  PortHolder& holder_;
  std::size_t releaseAt_;
};

TEST_F(ZelkoLink, APortHeldElsewhereIsTriedTwentyTimesThenRefused) {
  PortHolder holder(sim.devicePath());
  ReleasingClock neverReleases(holder, 0);
  machine::TzelkoCOM held(ui, neverReleases);
  EXPECT_EQ(codeOf([&] { held.Init(kSimPort, 115200); }), machine::HANDLE_COM_PORT_ERROR);
  std::vector<std::int64_t> expected;
  for (int ms = 25; ms < 500; ms += 25) expected.push_back(ms);
  EXPECT_EQ(neverReleases.sleeps, expected);
  const auto lines = traceLines();
  EXPECT_EQ(std::count_if(
                lines.begin(), lines.end(),
                [](const std::string& l) { return l.rfind("zelkoCOM->Init(7, 115200) :: GetLastError()=", 0) == 0; }),
            20);
}

TEST_F(ZelkoLink, APortLetGoDuringTheRetriesOpens) {
  PortHolder holder(sim.devicePath());
  ReleasingClock releasesAtThird(holder, 3);
  machine::TzelkoCOM waiting(ui, releasesAtThird);
  waiting.Init(kSimPort, 115200);
  waiting.Connect();
  EXPECT_EQ(releasesAtThird.sleeps, (std::vector<std::int64_t>{25, 50, 75}));
  EXPECT_TRUE(traced("zelkoCOM->Init(7, 115200) :: iSleep=75"));
}

TEST_F(ZelkoLink, UnInitWakesEveryWaiterAndLaterCommandsFindNoPort) {
  connect();
  startLongMove();
  auto finalAnswer = onWorker([&] { driver.WaitResp(-1); });
  EXPECT_EQ(finalAnswer.wait_for(20ms), std::future_status::timeout);

  driver.UnInit();
  ASSERT_EQ(finalAnswer.wait_for(kPatience), std::future_status::ready);
  EXPECT_EQ(finalAnswer.get(), machine::WAIT_FAILED);
  EXPECT_FALSE(driver.bAppStarted());
  EXPECT_TRUE(traced("zelkoCOM->UnInit() :: Thread beendet!"));

  EXPECT_EQ(codeOf([&] { driver.Ansteuersignale_einstellen(1); }), machine::HANDLE_COM_PORT_ERROR);
  EXPECT_EQ(codeOf([&] { driver.WaitResp(-1); }), machine::WAIT_FAILED);
  driver.UnInit();
  EXPECT_TRUE(traced("zelkoCOM->UnInit() :: bAppStarted=0"));

  // A new Init brings a new receiver up on the same port; the move the old link left running is
  // stopped on the '@' channel before the probe, which the controller would hold back until then.
  driver.Init(kSimPort, 115200);
  driver.Achsen_sofort_stoppen();
  driver.Connect();
  driver.Startgeschwindigkeit_einstellen(100);
}

TEST_F(ZelkoLink, AHangUpDuringAMoveFailsTheWaitAndLaterCommands) {
  connect();
  startLongMove();
  auto finalAnswer = onWorker([&] { driver.WaitResp(-1); });
  sim.hangUp();
  ASSERT_EQ(finalAnswer.wait_for(kPatience), std::future_status::ready);
  EXPECT_EQ(finalAnswer.get(), machine::WAIT_FAILED);
  EXPECT_EQ(codeOf([&] { driver.Startgeschwindigkeit_einstellen(100); }), machine::HANDLE_COM_PORT_ERROR);
  EXPECT_EQ(codeOf([&] { driver.Achsen_anhalten(); }), machine::HANDLE_COM_PORT_ERROR);
  EXPECT_TRUE(traced("TzelkoCOM_thread :: Verbindung unterbrochen"));
  driver.UnInit();
  EXPECT_FALSE(driver.bAppStarted());
}

TEST_F(ZelkoLink, ASecondInitClosesTheFirstLink) {
  connect();
  driver.Init(kSimPort, 19200);
  driver.Connect();
  EXPECT_TRUE(traced("zelkoCOM->UnInit() :: Thread beendet!"));
  driver.Startgeschwindigkeit_einstellen(100);
}

}  // namespace
}  // namespace machinetest
