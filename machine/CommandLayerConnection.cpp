// The connection step (close, create, port texts, open), the controller-type names, the sending
// of all machine parameters and the report of failure codes.
#include <array>
#include <charconv>
#include <cstdint>
#include <optional>
#include <utility>

#include "CommandLayer.h"
#include "ControllerFamily.h"
#include "FailureCodes.h"
#include "TraceLog.h"
#include "platform/NumberFormat.h"

namespace machine {

namespace {

constexpr int kMakerSettingAnswerMs = 64;

// Settings that the maker mode sends first to the Cobalt-Kyro and the USB-IO-Garnet.
constexpr std::array<const char*, 8> kMakerSettings{
    "c,x50\r", "c,y50\r", "c,z120\r", "c,u0\r", "D,x2\r", "D,y2\r", "D,z2\r", "D,u2\r",
};

// The protocol driver's subtype: 2 Cobalt-Kyro, 3 USB-Beryl, 4 USB I/O module.
int protocolSubtype(int modul) {
  if (modul == 5) return 2;
  if (modul == 6) return 3;
  return 4;
}

using ParallelLink = ControllerBackends::ParallelLink;

ParallelLink linkOf(const Maschinenparameter& p) { return ParallelLink{p.Modul, p.LPTAdresse}; }

// A parallel-port back-end has been connected: it goes on from what its predecessor had counted
// for the same controller on the same port, and it is the one the next connection step replaces.
void parallelConnected(ControllerBackends& backends, const Maschinenparameter& p, ParallelPortBackend& backend,
                       const std::optional<ControllerBackends::CarriedPositions>& carried) {
  if (carried && carried->link == linkOf(p)) backend.carryOverPositions(carried->steps);
  backends.parallelLink = linkOf(p);
}

std::string lowerHex(std::int32_t value) {
  std::array<char, 16> buf{};
  // As unsigned, so that a negative address reads like its 32-bit pattern instead of "-378".
  const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), static_cast<std::uint32_t>(value), 16);
  return std::string(buf.data(), res.ptr);
}

}  // namespace

std::string Steuerungsname(int modul) {
  switch (modul) {
    case 0:
      return "Schrittmotorsteuerkarte Garnet/Jasper";
    case 1:
      return "Zircon";
    case 2:
      return "Beryl";
    case 3:
      return "Basalt-Kyro";
    case 4:
      return "Takt/Richtung";
    case 5:
      return "Cobalt-Kyro";
    case 6:
      return "USB-Beryl";
    case 7:
      return "Onyx";
    case 10:
      return "USB-IO-Garnet";
    case 11:
      return "USB-IO-Zircon";
    case 12:
      return "USB-IO-TAKT/RICHT";
    case 13:
      return "USB-IO-Onyx";
    default:
      return "";
  }
}

bool istProtokollTyp(int modul) { return familyOf(modul) == ControllerFamily::Protocol; }

void CommandLayer::Steuerung_trennen() {
  // The parallel-port back-ends are closed by Steuerung_erzeugen.
  switch (familyOf(params_.Modul)) {
    case ControllerFamily::Beryl:
      if (backends_.Beryl) backends_.Beryl->Trennen();
      break;
    case ControllerFamily::Kyro:
      if (backends_.Kyro) backends_.Kyro->Trennen();
      break;
    case ControllerFamily::Protocol:
      if (backends_.zelkoCOM) backends_.zelkoCOM->UnInit();
      break;
    default:
      break;
  }
}

std::string CommandLayer::Steuerung_erzeugen(BackendFactory& factory) {
  // The parallel-port controllers count their positions in the back-end, and the machine has not
  // moved while the dialogs had the link closed: what the old back-end counted is kept for the
  // new one when type and port stay. Another type or port may be another machine; it starts at 0.
  backends_.carried.reset();
  if (backends_.parallelLink == linkOf(params_)) {
    const auto f = familyOf(params_.Modul);
    ParallelPortBackend* old = f == ControllerFamily::Garnet ? backends_.Garnet.get() : backends_.TaktRicht.get();
    if (old != nullptr) {
      ControllerBackends::CarriedPositions carried{linkOf(params_), {}};
      for (std::size_t slot = 0; slot < carried.steps.size(); ++slot)
        carried.steps[slot] = old->Position_abfragen("xyzu"[slot]);
      backends_.carried = carried;
    }
  }
  backends_.parallelLink.reset();

  // Close every port back-end, whatever type is configured now, so that no two hold a port.
  if (backends_.Garnet) backends_.Garnet->OnDestroy();
  if (backends_.Beryl) backends_.Beryl->OnDestroy();
  if (backends_.Kyro) backends_.Kyro->OnDestroy();
  if (backends_.TaktRicht) backends_.TaktRicht->OnDestroy();

  // A new object replaces (and frees) the closed one of its family. The protocol driver is made
  // once and kept: only its link opens and closes. It is made for the USB I/O types too, since
  // without it every operation of those types would fail.
  switch (familyOf(params_.Modul)) {
    case ControllerFamily::Garnet:
      backends_.Garnet = factory.createGarnet();
      if (backends_.Garnet) backends_.Garnet->bindStopRequest(bAbbruch_);
      break;
    case ControllerFamily::TaktRicht:
      backends_.TaktRicht = factory.createTaktRicht();
      if (backends_.TaktRicht) backends_.TaktRicht->bindStopRequest(bAbbruch_);
      break;
    case ControllerFamily::Beryl:
      backends_.Beryl = factory.createBeryl();
      if (backends_.Beryl) backends_.Beryl->bindStopRequest(bAbbruch_);
      break;
    case ControllerFamily::Kyro:
      backends_.Kyro = factory.createKyro();
      if (backends_.Kyro) backends_.Kyro->bindStopRequest(bAbbruch_);
      break;
    case ControllerFamily::Protocol:
      if (!backends_.zelkoCOM) backends_.zelkoCOM = factory.createZelkoCOM();
      if (backends_.zelkoCOM) backends_.zelkoCOM->bindStopRequest(bAbbruch_);
      break;
    case ControllerFamily::None:
      break;
  }
  return Steuerungsname(params_.Modul);
}

void CommandLayer::Schnittstelle_anzeigen() {
  switch (familyOf(params_.Modul)) {
    case ControllerFamily::Garnet:
    case ControllerFamily::TaktRicht:
      params_.Schnittstellentext = "0x" + lowerHex(params_.LPTAdresse);
      params_.Baudratentext.clear();
      break;
    case ControllerFamily::Beryl:
    case ControllerFamily::Kyro:
    case ControllerFamily::Protocol:
      params_.Schnittstellentext = "COM" + platform::formatInt(params_.ComPort);
      params_.Baudratentext = platform::formatInt(params_.Baudrate);
      break;
    case ControllerFamily::None:
      params_.Schnittstellentext.clear();
      params_.Baudratentext.clear();
      break;
  }
}

bool CommandLayer::Steuerung_verbinden(const std::string& portText) {
  // Positions carried over belong to this connection attempt only.
  const auto carried = std::exchange(backends_.carried, std::nullopt);
  // Without its back-end object a type cannot be connected; the connection step then stays
  // unconnected as for an unassigned type.
  switch (familyOf(params_.Modul)) {
    case ControllerFamily::Garnet:
      if (!backends_.Garnet || !backends_.Garnet->Steuerung_verbinden(portText)) return false;
      parallelConnected(backends_, params_, *backends_.Garnet, carried);
      return true;
    case ControllerFamily::TaktRicht: {
      if (!backends_.TaktRicht) return false;
      auto& taktRicht = *backends_.TaktRicht;
      // A port that could not be opened is reported as such instead of as a connection.
      if (!taktRicht.Steuerung_verbinden(portText)) return false;
      // The limit-switch levels differ by model; only the Zircon lowers the frequency limits.
      if (params_.Modul == 1) {
        taktRicht.Endschalter_konfigurieren(0, 1, 1);
        taktRicht.Frequenzgrenzen_setzen(5000, 10000);
      } else if (params_.Modul == 4) {
        taktRicht.Endschalter_konfigurieren(1, 0, 0);
      } else {
        taktRicht.Endschalter_konfigurieren(0, 0, 0);
      }
      parallelConnected(backends_, params_, taktRicht, carried);
      return true;
    }
    case ControllerFamily::Beryl:
      return backends_.Beryl && backends_.Beryl->Verbinden(portText);
    case ControllerFamily::Kyro:
      return backends_.Kyro && backends_.Kyro->Verbinden(portText);
    case ControllerFamily::Protocol: {
      if (!backends_.zelkoCOM) return false;
      auto& protocol = *backends_.zelkoCOM;
      protocol.Modell_setzen(protocolSubtype(params_.Modul));
      protocol.Init(params_.ComPort, params_.Baudrate);
      protocol.Connect();
      return true;
    }
    case ControllerFamily::None:
      return false;
  }
  return false;
}

void CommandLayer::InitializeSteuerung(bool herstellermodus) {
  const std::string flag = herstellermodus ? "1" : "0";
  Protokoll_schreiben("InitializeSteuerung(" + flag + ")");
  if (herstellermodus && (params_.Modul == 5 || params_.Modul == 10)) {
    // The answers are not examined: these settings are accepted or ignored by the firmware.
    auto& protocol = requiredBackend(backends_.zelkoCOM);
    for (const char* setting : kMakerSettings) protocol.SendenUndWarten(setting, kMakerSettingAnswerMs);
  }
  Startgeschwindigkeit_einstellen(params_.Startfreq);
  Endgeschwindigkeit_einstellen(0, params_.Startfreq);
  Endgeschwindigkeit_einstellen(1, params_.Arbeitsfreq);
  Endgeschwindigkeit_einstellen(2, params_.Eilfreq);
  Rampenlaenge_einstellen(params_.Rampenlaenge);
  Ansteuersignale_einstellen();
  Schrittbetrieb_einstellen();
  Z_Achse_einstellen();
  // The u axis has no reference offset on any controller.
  Referenzoffset_einstellen('x', params_.xRefOffset);
  Referenzoffset_einstellen('y', params_.yRefOffset);
  Referenzoffset_einstellen('z', params_.zRefOffset);
  Referenzgeschwindigkeit_einstellen(params_.RefFreq);
  Protokoll_schreiben("InitializeSteuerung(" + flag + ") :: Fertig");
}

void CommandLayer::Steuerungsfehler_melden(platform::UiServices& ui, int code, const std::string& caption) const {
  // The other drivers have already shown their own box at the point of failure; a move refused
  // before it was sent reached no driver and is shown whatever the controller type. The
  // synchronous drivers show no box of their own for the one failure they throw, a position that
  // could not be read.
  const auto f = familyOf(params_.Modul);
  const bool syncPosition = (f == ControllerFamily::Beryl || f == ControllerFamily::Kyro) &&
                            (code == HANDLE_COM_PORT_ERROR || code == COMMUNICATION_ERROR || code == WAIT_TIMEOUT);
  if (istProtokollTyp(params_.Modul) || code == STEP_RANGE_ERROR || syncPosition) Fehler_Meldung(ui, code, caption);
}

}  // namespace machine
