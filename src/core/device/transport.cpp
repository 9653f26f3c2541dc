#include "core/device/transport.h"

#include <algorithm>
#include <cstdio>

namespace korvex48 {

namespace {

std::string Hex4(std::uint16_t v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%04x", v);
  return buf;
}

bool MayBeTheMouse(HidBackend& backend, const std::string& path, int vendor_id, int product_id) {
  auto ids = backend.PeekIdentifiers(path);
  return !ids || (ids->first == vendor_id && ids->second == product_id);
}

}  // namespace

std::string UdevRuleText(std::uint16_t vendor_id, std::uint16_t product_id) {
  return "KERNEL==\"hidraw*\", ATTRS{idVendor}==\"" + Hex4(vendor_id) + "\", ATTRS{idProduct}==\"" +
         Hex4(product_id) + "\", TAG+=\"uaccess\"";
}

std::string PermissionFixText(std::uint16_t vendor_id, std::uint16_t product_id) {
  return "install the udev rule 70-korvex48.rules (" + UdevRuleText(vendor_id, product_id) +
         ") into /etc/udev/rules.d, then run 'udevadm control --reload-rules && udevadm trigger' "
         "as root and plug the mouse in again";
}

Transport::Transport(HidBackend& backend, Clock& clock) : backend_(&backend), clock_(clock) {}

Transport::Transport(std::unique_ptr<HidBackend> backend, Clock& clock)
    : owned_backend_(std::move(backend)), backend_(owned_backend_.get()), clock_(clock) {}

Transport::~Transport() {
  CloseDevice();
  backend_->ReleaseMouse();
}

void Transport::ReleaseClaim() { backend_->ReleaseMouse(); }

void Transport::SetTrace(std::unique_ptr<ProtocolTrace> trace) {
  owned_trace_ = std::move(trace);
  trace_ = owned_trace_.get();
}

int Transport::CountHidDevices() {
  int count = 0;
  for (const std::string& path : backend_->ListInterfaces()) {
    HidError error = HidError::kNone;
    DeviceHandle handle = backend_->Open(path, &error);
    if (handle == kInvalidHandle) continue;
    ++count;
    backend_->Close(handle);
  }
  return count;
}

bool Transport::IsDead(DeviceHandle handle) const {
  return std::find(dead_.begin(), dead_.end(), handle) != dead_.end();
}

void Transport::Forget(DeviceHandle handle) {
  std::erase(dead_, handle);
  backend_->Close(handle);
}

void Transport::CloseDevice() {
  DeviceHandle command = session_.CommandHandle;
  DeviceHandle reply = session_.ReplyHandle;
  session_.CommandHandle = kInvalidHandle;
  session_.ReplyHandle = kInvalidHandle;
  if (command != kInvalidHandle) Forget(command);
  if (reply != kInvalidHandle && reply != command) Forget(reply);
}

void Transport::CloseIfUnused(DeviceHandle handle) {
  if (handle != kInvalidHandle && handle != session_.CommandHandle &&
      handle != session_.ReplyHandle)
    Forget(handle);
}

bool Transport::OpenDevice(int vendor_id, int product_id, int* version) {
  problems_.clear();
  CloseDevice();
  // The mouse is claimed before any of its nodes is looked at: a program
  // whose mouse is off the bus for a restart still holds it.
  InterfaceHolder claimed_by;
  if (!backend_->ClaimMouse(static_cast<std::uint16_t>(vendor_id),
                            static_cast<std::uint16_t>(product_id), &claimed_by)) {
    OpenProblem problem{{}, HidError::kBusy, HeldMouseText(claimed_by), claimed_by};
    if (issues_)
      issues_->Report({TransportIssue::Kind::kCannotOpen, {}, HidError::kBusy, problem.message});
    problems_.push_back(std::move(problem));
    return false;
  }
  bool found = false;
  for (const std::string& path : backend_->ListInterfaces()) {
    HidError error = HidError::kNone;
    DeviceHandle handle = backend_->Open(path, &error);
    if (handle == kInvalidHandle) {
      if ((error == HidError::kPermission || error == HidError::kBusy) &&
          MayBeTheMouse(*backend_, path, vendor_id, product_id)) {
        OpenProblem problem{path, error, {}, std::nullopt};
        if (error == HidError::kPermission)
          problem.message = "No permission to open " + path + ": " +
                            PermissionFixText(static_cast<std::uint16_t>(vendor_id),
                                              static_cast<std::uint16_t>(product_id)) +
                            ".";
        else
          problem.message = path + " is in use by another program; close it and try again.";
        if (issues_)
          issues_->Report({TransportIssue::Kind::kCannotOpen, path, error, problem.message});
        problems_.push_back(std::move(problem));
      }
      continue;
    }
    HidInterfaceInfo info;
    if (!backend_->QueryInfo(handle, &info) || info.feature_report_length != kReportLength ||
        info.vendor_id != vendor_id || info.product_id != product_id) {
      backend_->Close(handle);
      continue;
    }
    // Nothing may reach a mouse another program is talking to, not even the
    // probe below.
    InterfaceHolder holder;
    if (!backend_->Claim(handle, &holder)) {
      backend_->Close(handle);
      OpenProblem problem{path, HidError::kBusy, HeldMouseText(holder), holder};
      if (issues_)
        issues_->Report(
            {TransportIssue::Kind::kCannotOpen, path, HidError::kBusy, problem.message});
      problems_.push_back(std::move(problem));
      continue;
    }
    found = true;
    if (version) *version = info.version;
    session_.VendorId = info.vendor_id;
    session_.ProductId = info.product_id;
    session_.FeatureLength = kReportLength;

    DeviceHandle old_command = session_.CommandHandle;
    DeviceHandle old_reply = session_.ReplyHandle;
    Report probe{kCommandReportId, 0x0D, 0, 0, 0, 0, 0, 0};
    if (SetFeatureReport(handle, probe)) session_.CommandHandle = handle;
    Report reply{kReplyReportId, 0, 0, 0, 0, 0, 0, 0};
    if (GetFeatureReport(handle, reply)) session_.ReplyHandle = handle;
    CloseIfUnused(old_command);
    if (old_reply != old_command) CloseIfUnused(old_reply);
    CloseIfUnused(handle);
  }
  if (!found) backend_->ReleaseMouse();
  return found;
}

const OpenProblem* Transport::HeldProblem() const {
  for (const OpenProblem& p : problems_)
    if (p.holder) return &p;
  return nullptr;
}

bool Transport::DeviceGone() const {
  return (session_.CommandHandle != kInvalidHandle && IsDead(session_.CommandHandle)) ||
         (session_.ReplyHandle != kInvalidHandle && IsDead(session_.ReplyHandle));
}

void Transport::TraceNote(std::string note) {
  if (!trace_) return;
  TraceEntry entry;
  entry.kind = TraceEntry::Kind::kNote;
  entry.at_us = clock_.NowMicroseconds();
  entry.note = std::move(note);
  trace_->Record(entry);
}

void Transport::Trace(TraceEntry::Kind kind, std::span<const std::uint8_t> report, HidError error) {
  if (!trace_) return;
  TraceEntry entry;
  entry.kind = kind;
  entry.at_us = clock_.NowMicroseconds();
  std::copy_n(report.begin(), std::min(report.size(), entry.bytes.size()), entry.bytes.begin());
  entry.error = error;
  trace_->Record(entry);
}

void Transport::Failed(DeviceHandle handle, HidError error) {
  last_error_ = error;
  // A failed transfer is the caller's to report: it knows what was cut off.
  if (error != HidError::kGone || IsDead(handle)) return;
  dead_.push_back(handle);
  if (issues_)
    issues_->Report({TransportIssue::Kind::kDeviceGone, {}, error, "the mouse left the bus"});
}

bool Transport::SetFeatureReport(DeviceHandle handle, std::span<const std::uint8_t> report) {
  if (handle == kInvalidHandle || IsDead(handle)) {
    last_error_ = HidError::kGone;
    return false;
  }
  HidError error = HidError::kNone;
  if (!backend_->SetFeature(handle, report, &error)) {
    if (error == HidError::kNone) error = HidError::kOther;
    Trace(TraceEntry::Kind::kSent, report, error);
    Failed(handle, error);
    return false;
  }
  last_error_ = HidError::kNone;
  Trace(TraceEntry::Kind::kSent, report, HidError::kNone);
  return true;
}

bool Transport::GetFeatureReport(DeviceHandle handle, std::span<std::uint8_t> report) {
  if (handle == kInvalidHandle || IsDead(handle)) {
    last_error_ = HidError::kGone;
    return false;
  }
  HidError error = HidError::kNone;
  // A failed read leaves no meaning in the buffer: the trace shows what was
  // asked for.
  std::array<std::uint8_t, kReportLength> asked{};
  std::copy_n(report.begin(), std::min(report.size(), asked.size()), asked.begin());
  if (!backend_->GetFeature(handle, report, &error)) {
    if (error == HidError::kNone) error = HidError::kOther;
    Trace(TraceEntry::Kind::kRead,
          std::span<const std::uint8_t>(asked).first(std::min(report.size(), asked.size())), error);
    Failed(handle, error);
    return false;
  }
  last_error_ = HidError::kNone;
  Trace(TraceEntry::Kind::kRead, report, HidError::kNone);
  return true;
}

bool Transport::SendCommand(std::uint8_t c1, std::uint8_t c2, std::uint8_t c3, std::uint8_t c4,
                            std::uint8_t c5) {
  if (session_.CommandHandle == kInvalidHandle) return false;
  report_ = {kCommandReportId, c1, c2, c3, c4, c5, 0x00, 0x00};
  return SetFeatureReport(session_.CommandHandle, report_);
}

bool Transport::SendCommandReport(const Report& report) {
  if (session_.CommandHandle == kInvalidHandle) return false;
  report_ = report;
  return SetFeatureReport(session_.CommandHandle, report_);
}

bool Transport::SendData(std::span<const std::uint8_t, kReplyPayload> data) {
  if (session_.ReplyHandle == kInvalidHandle) return false;
  report_[0] = kReplyReportId;
  std::copy(data.begin(), data.end(), report_.begin() + 1);
  return SetFeatureReport(session_.ReplyHandle, report_);
}

bool Transport::ReadReply() {
  reply_.fill(0xFF);
  if (session_.ReplyHandle == kInvalidHandle) return false;
  report_ = {kReplyReportId, 0, 0, 0, 0, 0, 0, 0};
  if (!GetFeatureReport(session_.ReplyHandle, report_)) return false;
  std::copy(report_.begin() + 1, report_.end(), reply_.begin());
  DelayMicroseconds(kReplyPacingMicroseconds);
  return true;
}

void Transport::DelayMicroseconds(int us) {
  if (us <= 0) return;
  const auto n = static_cast<std::uint64_t>(us);
  // Any clock but the real one (a test clock) is only told how long.
  if (dynamic_cast<SystemClock*>(&clock_) == nullptr) {
    clock_.SleepMicroseconds(n);
    return;
  }
  // The real clock: a sleep alone overshoots by tens of microseconds per
  // reply, a spin alone burns the CPU for the whole wait. Sleep through most
  // of it and spin to the end.
  constexpr std::uint64_t kSpinMicroseconds = 150;
  const std::uint64_t start = clock_.NowMicroseconds();
  if (n > kSpinMicroseconds) clock_.SleepMicroseconds(n - kSpinMicroseconds);
  while (clock_.NowMicroseconds() - start < n) {
  }
}

}  // namespace korvex48
