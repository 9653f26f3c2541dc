// Polling, identification and loss of the mouse.
#include "core/app/connection.h"

#include <array>

#include "core/app/mouse_doctor.h"
#include "core/buttons/function_menus.h"

namespace korvex48 {
namespace {

constexpr int kArrivalWaitSteps = 21;  // 2.1 s before an arrived device is opened
constexpr int kRestartWaitSteps = 51;  // 5.1 s for a restarted mouse to come back
constexpr int kCountPairs = 5;
constexpr int kPairsNeeded = 2;
constexpr std::uint16_t kCustomerIdAddressI2C = 249;
constexpr std::uint16_t kCustomerIdAddressFlash = 0x6000;

// Clears `Polling` however the poll step ends.
class PollingGuard {
 public:
  explicit PollingGuard(DeviceSession& s) : s_(s) { s_.Polling = true; }
  ~PollingGuard() { s_.Polling = false; }
  PollingGuard(const PollingGuard&) = delete;
  PollingGuard& operator=(const PollingGuard&) = delete;

 private:
  DeviceSession& s_;
};

std::string OpenProblemsText(const Transport& transport) {
  std::string text;
  for (const OpenProblem& p : transport.LastOpenProblems()) {
    if (!text.empty()) text += '\n';
    text += p.message;
  }
  return text;
}

}  // namespace

std::uint16_t CustomerIdAddress(std::string_view primary_storage) {
  return primary_storage == kStorageI2C ? kCustomerIdAddressI2C : kCustomerIdAddressFlash;
}

Connection::Connection(AppCore& core, ImageFlows& images)
    : core_(core),
      images_(images),
      transport_(core.transport_),
      commands_(core.commands_),
      ui_(core.ui_),
      clock_(core.clock_) {}

void Connection::WaitWithEvents(int steps_of_100ms) {
  for (int i = 0; i < steps_of_100ms; ++i) {
    clock_.SleepMilliseconds(100);
    ui_.ProcessEvents();
  }
}

PollOutcome Connection::Poll() {
  DeviceSession& s = core_.MutableSession();
  if (s.Polling) return PollOutcome::kBusy;
  PollingGuard guard(s);

  // A whole-image read that came back incomplete is made again while the
  // mouse is still there.
  if (core_.reread_pending_ && core_.Session().HandlesValid() && !transport_.DeviceGone()) {
    // Read whole at last, the mouse stands as accepted.
    if (images_.ReadConfiguration() && core_.last_info_.outcome == DevInfoOutcome::kReadIncomplete)
      core_.last_info_.outcome = DevInfoOutcome::kAccepted;
    return PollOutcome::kOpened;
  }

  int agreed = 0;
  int current = 0;
  for (int pair = 0; pair < kCountPairs; ++pair) {
    const int first = transport_.CountHidDevices();
    const int second = transport_.CountHidDevices();
    if (first == second) ++agreed;
    current = first;
  }
  // Handles found dead mean the mouse left the bus, even when the count
  // shows nothing (it came back within one poll period, or another device
  // arrived at the same time).
  const bool gone = transport_.DeviceGone();
  if (!gone && (current == s.LastHidCount || agreed < kPairsNeeded)) {
    // A mouse that was found but lost a reply while it was opened or asked
    // for its information is opened and asked again while the count stays:
    // the count will not rise for it, so it would stay unread until it is
    // plugged in again.
    if (current == s.LastHidCount && s.VendorId != 0 &&
        core_.last_info_.outcome == DevInfoOutcome::kNotSent) {
      FindMouseAgain();
      return PollOutcome::kOpened;
    }
    // A mouse another program held is tried again at every poll: the count
    // will not change when that program lets it go.
    if (current == s.LastHidCount && held_shown_) return OpenHeldMouseAgain();
    return PollOutcome::kUnchanged;
  }

  PollOutcome outcome;
  if (gone || current < s.LastHidCount) {
    // Any HID interface that went away counts, not only the mouse's own; the
    // mouse is found again on the next rise. The handles are closed first so
    // nothing that runs during DeviceLost talks to a device that left.
    s.VendorId = 0;
    s.ProductId = 0;
    transport_.CloseDevice();
    core_.ForgetRead();
    DeviceLost();
    outcome = PollOutcome::kLost;
    // A mouse whose handles died while the count stayed (or rose) is back
    // already, or will be counted in when it rises: look for it now, with the
    // arrival wait.
    if (!gone || current < s.LastHidCount) {
      // Not searched for now: another program may take it meanwhile.
      transport_.ReleaseClaim();
      s.LastHidCount = current;
      return outcome;
    }
  }
  WaitWithEvents(kArrivalWaitSteps);
  if (!gone) outcome = PollOutcome::kNotFound;
  for (const DeviceIdEntry& entry : core_.id_table_) {
    if (entry.vendor_id == 0 || entry.product_id == 0) continue;
    if (transport_.OpenDevice(entry.vendor_id, entry.product_id)) {
      outcome = PollOutcome::kOpened;
      IdentifyMouse();
      break;
    }
    if (ShowIfHeld()) {
      outcome = PollOutcome::kHeld;
      break;
    }
    // The loss was told already when the mouse's handles died.
    if (!gone) DeviceLost(OpenProblemsText(transport_));
  }
  s.LastHidCount = current;
  return outcome;
}

PollOutcome Connection::OpenHeldMouseAgain() {
  for (const DeviceIdEntry& entry : core_.id_table_) {
    if (entry.vendor_id == 0 || entry.product_id == 0) continue;
    if (transport_.OpenDevice(entry.vendor_id, entry.product_id)) {
      IdentifyMouse();
      return PollOutcome::kOpened;
    }
    if (ShowIfHeld()) return PollOutcome::kHeld;
  }
  DeviceLost(OpenProblemsText(transport_));
  return PollOutcome::kNotFound;
}

bool Connection::ShowIfHeld() {
  const OpenProblem* held = transport_.HeldProblem();
  if (!held) return false;
  if (!held_shown_) core_.ShowNoDeviceLook();
  ForgetReason();  // the holder's line says why
  held_shown_ = true;
  ui_.ShowMouseHeld(held->message);
  return true;
}

void Connection::ForgetHeld() {
  if (!held_shown_) return;
  held_shown_ = false;
  ui_.ShowMouseHeld({});
}

void Connection::ForgetReason() {
  if (reason_shown_) ui_.ShowNoDeviceReason({});
  reason_shown_ = false;
}

DevInfoResult Connection::IdentifyMouse() {
  DeviceSession& s = core_.MutableSession();
  DevInfoResult r;
  ForgetHeld();
  ForgetReason();
  ReplyBytes reply{};
  // Whatever the working image holds, it is not this mouse's yet: nothing
  // may be written to it (`Loading`) until it was read whole.
  core_.ForgetRead();
  s.Loading = true;
  auto finish = [&](DevInfoOutcome outcome) {
    r.outcome = outcome;
    r.primary = s.PrimaryStorage;
    r.secondary = s.SecondaryStorage;
    core_.last_info_ = r;
    return r;
  };
  // A reply that failed reads as 0xFF bytes; none of the reads of this step may
  // decide about the mouse from them (0xFF as byte 6 means "Flash" + "Flash",
  // as customer identifier the one that ships): the step ends as unsent.
  if (!commands_.ReadDeviceInformation(&reply) || !commands_.LastReadComplete())
    return finish(DevInfoOutcome::kNotSent);

  r.variant = reply[kInfoVariant];
  r.menu_height = MainMenuHeightOfVariant(r.variant);
  if (r.menu_height) ui_.SetMainMenuHeight(*r.menu_height);

  // Kinds left from an earlier mouse must not take part in this one's checks.
  s.PrimaryStorage.clear();
  s.SecondaryStorage.clear();
  const std::uint8_t primary = reply[kInfoPrimaryStorage];
  if (primary == kPrimaryFlash) {
    s.PrimaryStorage = kStorageFlash;
  } else if (primary == kPrimaryI2C) {
    s.PrimaryStorage = kStorageI2C;
  } else {
    return finish(DevInfoOutcome::kUnknownPrimary);
  }

  if (s.PrimaryStorage == kStorageFlash) {
    std::array<std::uint8_t, 1> byte6{};
    // An unsent command or a failed reply would leave 0xFF, which reads as
    // "Flash": treat it as the failed information step it is.
    if (!commands_.ReadSection(kParameterBlock, 6, byte6, false) || !commands_.LastReadComplete())
      return finish(DevInfoOutcome::kNotSent);
    const int bits = byte6[0] >> 6;
    if (bits == 0b10) {
      s.SecondaryStorage = kStorageI2C;
    } else if (bits == 0b11) {
      s.SecondaryStorage = kStorageFlash;
    } else {
      return finish(DevInfoOutcome::kNoSecondary);
    }
  }

  const StorageKind def = core_.defaults_.storage_kind;
  const bool mismatch = (s.SecondaryStorage == kStorageFlash && def == StorageKind::kI2C) ||
                        (s.SecondaryStorage == kStorageI2C && def == StorageKind::kFlash) ||
                        (s.PrimaryStorage == kStorageI2C && def == StorageKind::kFlash);
  if (mismatch) {
    // Refused like a foreign customer identifier: the whole-image writes and
    // live writes of this program are built for the other layout.
    s.Loading = true;
    ui_.ShowMessage({{"Str102"}, {}, MessageBoxKind::kPlain, {}});
    core_.ShowNoDevicePages();
    return finish(DevInfoOutcome::kStorageMismatch);
  }

  CustomerId id{};
  // As above: a failed read would leave 0xFF 0xFF, the identifier that ships.
  if (!commands_.ReadMemory(CustomerIdAddress(core_.Session().PrimaryStorage), id, false) ||
      !commands_.LastReadComplete())
    return finish(DevInfoOutcome::kNotSent);
  r.customer_id = id;
  s.CustomerId = id;
  core_.working_.customer_id = id;

  const bool accepted = id == core_.defaults_.customer_id ||
                        (id[0] == core_.rev_manu_id_ && id[1] == core_.rev_pro_id_);
  if (accepted) {
    finish(DevInfoOutcome::kAccepted);
    if (!images_.ReadConfiguration()) return finish(DevInfoOutcome::kReadIncomplete);
    return r;
  }
  // Refused: Loading stays set, so the pages make no live writes to it.
  s.Loading = true;
  ui_.StopPolling();
  ui_.ShowMessage({{"Str107"}, {}, MessageBoxKind::kOkBox, {}});
  ui_.StartPolling();
  return finish(DevInfoOutcome::kRefused);
}

void Connection::FindMouseAgain() {
  DeviceSession& s = core_.MutableSession();
  s.VendorId = 0;
  s.ProductId = 0;
  transport_.CloseDevice();
  core_.ForgetRead();
  bool lost_shown = false;
  for (const DeviceIdEntry& entry : core_.id_table_) {
    if (entry.vendor_id == 0 || entry.product_id == 0) {
      // A failed open of entry 1 ends here, through the empty entry 2.
      if (!lost_shown) DeviceLost(OpenProblemsText(transport_));
      lost_shown = true;
      continue;
    }
    if (transport_.OpenDevice(entry.vendor_id, entry.product_id)) {
      IdentifyMouse();
      return;
    }
    if (ShowIfHeld()) return;
  }
}

void Connection::DeviceLost(const std::string& detail) {
  core_.ShowNoDeviceLook();
  ForgetHeld();
  if (facts_ && !restarting_) {
    const MouseChecks checks = CheckMouseAccess(transport_.Backend(), core_.id_table_, *facts_);
    const MouseCheck* problem = checks.FirstProblem();
    if (problem || reason_shown_)
      ui_.ShowNoDeviceReason(problem ? problem->name + ": " + problem->summary +
                                           ". Run korvex48ctl doctor for every check and its fix"
                                     : std::string());
    reason_shown_ = problem != nullptr;
  }
  ui_.ShowMessage({{"Str100", "Str101"}, {}, MessageBoxKind::kPlain, detail});
}

void Connection::ReleaseDevice() {
  transport_.CloseDevice();
  transport_.ReleaseClaim();
}

RestartResult Connection::RestartAndFindAgain(const std::string& refused_text) {
  if (!core_.Session().HandlesValid()) return RestartResult::kNoDevice;
  ui_.StopPolling();
  clock_.SleepMilliseconds(100);
  // A mouse that restarts at once may drop off the bus before it answers the
  // command: that failure is the restart. Any other failure means the mouse
  // did not take it and is still there, holding what was written.
  if (!commands_.Restart() && transport_.LastError() != HidError::kGone) {
    ui_.Hide();
    ui_.ProcessEvents();
    ui_.StartPolling();
    ui_.ShowMessage(
        {{}, refused_text, MessageBoxKind::kPlain, HidErrorText(transport_.LastError())});
    return RestartResult::kRefused;
  }
  // The mouse leaves the bus now: its handles are dead, and the busy pop-up
  // must not stay up if it never comes back.
  core_.MutableSession().VendorId = 0;
  core_.MutableSession().ProductId = 0;
  transport_.CloseDevice();
  core_.ForgetRead();
  ui_.Hide();
  restarting_ = true;
  DeviceLost();
  WaitWithEvents(kRestartWaitSteps);
  restarting_ = false;
  FindMouseAgain();
  // Without this a mouse that does not come back would never be polled for.
  ui_.StartPolling();
  return core_.DeviceUsable() ? RestartResult::kFoundAgain : RestartResult::kNotBack;
}

}  // namespace korvex48
