#pragma once
// The HID transport: finding the mouse's configuration interface, opening it,
// and moving single 8-byte feature reports. Report ID 0x40 carries commands,
// 0x41 data and replies. Works over any HidBackend (hidraw, simulated).
//
// Buffers: one 8-byte report buffer for every send and a 7-byte reply buffer
// holding the payload of the last reply; the reply buffer is filled with 0xFF
// before every read, so a failed read leaves seven 0xFF bytes that callers
// take as data. Not thread-safe: one transfer at a time, on one thread.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/common/clock.h"
#include "core/device/device_session.h"
#include "core/device/hid_backend.h"
#include "core/device/protocol_trace.h"
#include "core/device/transport_issues.h"

namespace korvex48 {

inline constexpr std::uint8_t kCommandReportId = 0x40;
inline constexpr std::uint8_t kReplyReportId = 0x41;
inline constexpr int kReportLength = 8;
inline constexpr int kReplyPayload = 7;
inline constexpr int kReplyPacingMicroseconds = 500;  // wait after every reply read

using Report = std::array<std::uint8_t, kReportLength>;
using ReplyBytes = std::array<std::uint8_t, kReplyPayload>;

// A HID interface that looked like the mouse but could not be opened.
struct OpenProblem {
  std::string path;
  HidError error = HidError::kOther;
  std::string message;  // one line for the user, with the fix when there is one
  // Set when the mouse was opened but another program holds it (error kBusy).
  std::optional<InterfaceHolder> holder;
};

class Transport {
 public:
  // `backend` is not owned and must outlive the transport.
  explicit Transport(HidBackend& backend, Clock& clock = DefaultClock());
  // Takes ownership of `backend`.
  explicit Transport(std::unique_ptr<HidBackend> backend, Clock& clock = DefaultClock());
  // Closes the handles it still holds and lets the claim on the mouse go.
  ~Transport();
  Transport(const Transport&) = delete;
  Transport& operator=(const Transport&) = delete;

  // Number of present HID interfaces that can be opened (each is opened and
  // closed at once).
  int CountHidDevices();

  // Searches every interface for one with identifiers (vendor_id, product_id)
  // and 8-byte feature reports; true when one was found. On a match the
  // session's VendorId, ProductId and FeatureLength (8) are set and the two
  // directions are probed: the device-information command on success gives
  // CommandHandle, a reply read on success gives ReplyHandle (the reply is
  // dropped). When several interfaces match, the last one whose probes
  // succeed holds the handles. Handles held before the call are closed first;
  // handles of interfaces that end up unused are closed. A matching
  // interface is claimed (HidBackend::Claim) before anything is sent to it;
  // one that another program holds is closed again untouched. Nodes that may
  // be the mouse but cannot be opened (permission, in use) or are held go to
  // the issue sink and are kept in LastOpenProblems(). Before any node is
  // opened the mouse itself is claimed (HidBackend::ClaimMouse); a mouse
  // another program claimed is a held problem and no node is touched. The
  // claim stays while the handles are closed and opened again (the restart
  // and search of the same mouse), and goes with a search that finds
  // nothing, ReleaseClaim or the transport's end.
  [[nodiscard]] bool OpenDevice(int vendor_id, int product_id, int* version = nullptr);

  // Closes the session's handles and marks them invalid (device lost,
  // reconnect, exit). The identifiers are left to the caller, and so is the
  // claim on the mouse (ReleaseClaim).
  void CloseDevice();
  // Lets the claim on the mouse go: the program no longer shows or changes
  // it (the mouse was lost and not found again, the program ends).
  void ReleaseClaim();

  // One report on `handle`; false at once when the handle is invalid or its
  // device is known to be gone. Every attempt goes to the trace; a failure
  // goes to the issue sink and LastError(). Only HidError::kGone marks the
  // handle dead: after a refused or failed transfer it stays usable.
  [[nodiscard]] bool SetFeatureReport(DeviceHandle handle, std::span<const std::uint8_t> report);
  // `report[0]` holds the report ID on entry; filled on success.
  [[nodiscard]] bool GetFeatureReport(DeviceHandle handle, std::span<std::uint8_t> report);

  // Sends 0x40, c1..c5, 0x00, 0x00 on CommandHandle; false at once without one.
  [[nodiscard]] bool SendCommand(std::uint8_t c1, std::uint8_t c2, std::uint8_t c3, std::uint8_t c4,
                                 std::uint8_t c5);
  // Sends 0x41, d1..d7 on ReplyHandle; false at once without one.
  [[nodiscard]] bool SendData(std::span<const std::uint8_t, kReplyPayload> data);
  // Sends an already built report on CommandHandle (0x40, ...): the section
  // writes of command 5 use all seven payload bytes.
  [[nodiscard]] bool SendCommandReport(const Report& report);

  // Fills the reply buffer with 0xFF, then (with a ReplyHandle) reads one
  // 0x41 report; on success copies its bytes 1..7 into the reply buffer and
  // waits 500 microseconds. Returns whether a reply arrived (callers of the
  // protocol ignore it and take the buffer as it is).
  [[nodiscard]] bool ReadReply();
  const ReplyBytes& Reply() const { return reply_; }

  // Waits at least `us` microseconds on the transport's clock.
  void DelayMicroseconds(int us);

  // Problems met by the last OpenDevice, for the user.
  const std::vector<OpenProblem>& LastOpenProblems() const { return problems_; }
  // The last OpenDevice found the mouse held by another program; its
  // problem names the holder.
  const OpenProblem* HeldProblem() const;

  // Why the last report on any handle failed; kNone after a success.
  HidError LastError() const { return last_error_; }
  // The session's mouse left the bus: a handle it holds was found dead. Stays
  // true until the handles are closed (CloseDevice, OpenDevice).
  bool DeviceGone() const;

  // Every report tried is given to `trace` (not owned; nullptr: none).
  void SetTrace(ProtocolTrace* trace) { trace_ = trace; }
  // Takes ownership of a trace.
  void SetTrace(std::unique_ptr<ProtocolTrace> trace);
  // A note in the trace (where a transfer was cut off, and why).
  void TraceNote(std::string note);

  // Problems go to `sink` (not owned; nullptr: kept only in LastOpenProblems
  // and LastError).
  void SetIssueSink(TransportIssueSink* sink) { issues_ = sink; }

  // The connection state of the mouse this transport talks to. The transport
  // keeps it so that whoever holds the transport (the core's flows, the
  // command set, the live-write queue) sees one state; front ends read it
  // through AppCore.
  DeviceSession& Session() { return session_; }
  const DeviceSession& Session() const { return session_; }
  HidBackend& Backend() { return *backend_; }
  Clock& GetClock() { return clock_; }

 private:
  void CloseIfUnused(DeviceHandle handle);
  bool IsDead(DeviceHandle handle) const;
  void Forget(DeviceHandle handle);  // closes it and forgets it was dead
  void Failed(DeviceHandle handle, HidError error);
  void Trace(TraceEntry::Kind kind, std::span<const std::uint8_t> report, HidError error);

  DeviceSession session_;
  std::unique_ptr<HidBackend> owned_backend_;
  HidBackend* backend_;
  Clock& clock_;
  ProtocolTrace* trace_ = nullptr;
  std::unique_ptr<ProtocolTrace> owned_trace_;
  TransportIssueSink* issues_ = nullptr;
  HidError last_error_ = HidError::kNone;
  Report report_{};
  ReplyBytes reply_{};
  std::vector<OpenProblem> problems_;
  // Handles whose device went away: later reports on them fail at once
  // instead of asking the system again for every chunk of a transfer.
  std::vector<DeviceHandle> dead_;
};

// The text of the udev rule that gives the logged-in user access to the mouse
// with these identifiers, and the one-line fix for a permission problem.
std::string UdevRuleText(std::uint16_t vendor_id, std::uint16_t product_id);
std::string PermissionFixText(std::uint16_t vendor_id, std::uint16_t product_id);

}  // namespace korvex48
