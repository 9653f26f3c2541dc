#include "backends/hidraw/hidraw_backend.h"

// <sys/ioctl.h> must come before <linux/hidraw.h>.
#include <sys/ioctl.h>
// clang-format off
#include <linux/hidraw.h>
// clang-format on
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string_view>
#include <vector>

#include "core/device/hid_descriptor.h"

namespace korvex48 {

namespace {

// hidraw42 -> 42; names without a number sort last.
long NodeNumber(const std::string& name) {
  long n = 0;
  const char* first = name.data() + 6;
  const char* last = name.data() + name.size();
  auto [end, ec] = std::from_chars(first, last, n);
  return ec == std::errc() && end == last ? n : -1;
}

int IoctlRetry(int fd, unsigned long request, void* arg) {
  int r;
  do {
    r = ::ioctl(fd, request, arg);
  } while (r < 0 && errno == EINTR);
  return r;
}

}  // namespace

HidError HidErrorFromErrno(int err) {
  switch (err) {
    case EACCES:
    case EPERM:
      return HidError::kPermission;
    case EBUSY:
      return HidError::kBusy;
    case ENODEV:
    case ENXIO:
    case ENOENT:
    case ESHUTDOWN:
    case ENOTCONN:
      return HidError::kGone;
    case EPIPE:
    case EINVAL:
    case ENOTTY:
      return HidError::kRefused;
    case EIO:
    case EPROTO:
    case ETIMEDOUT:
    case EILSEQ:
    case EOVERFLOW:
      return HidError::kFailed;
    default:
      return HidError::kOther;
  }
}

HidrawBackend::HidrawBackend(std::string device_dir) : dir_(std::move(device_dir)) {}

HidrawBackend::~HidrawBackend() {
  for (const OpenNode& node : open_) ::close(node.fd);
}

HidError HidrawBackend::ErrorOf(DeviceHandle handle, int err) const {
  HidError error = HidErrorFromErrno(err);
  if (error == HidError::kGone || error == HidError::kPermission) return error;
  // A transfer error on a node that is no longer there is a device that left
  // the bus (some drivers answer EIO while the device goes away).
  for (const OpenNode& node : open_) {
    if (node.fd != handle) continue;
    struct stat st {};
    if (::stat(node.path.c_str(), &st) != 0) return HidError::kGone;
  }
  return error;
}

std::vector<std::string> HidrawBackend::ListInterfaces() {
  std::vector<std::pair<long, std::string>> nodes;
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(dir_.c_str()), ::closedir);
  if (!dir) return {};
  while (const dirent* entry = ::readdir(dir.get())) {
    std::string name = entry->d_name;
    if (name.starts_with("hidraw")) nodes.emplace_back(NodeNumber(name), std::move(name));
  }
  std::sort(nodes.begin(), nodes.end(), [](const auto& a, const auto& b) {
    if ((a.first < 0) != (b.first < 0)) return a.first >= 0;
    return a.first != b.first ? a.first < b.first : a.second < b.second;
  });
  std::vector<std::string> paths;
  for (auto& [number, name] : nodes) paths.push_back(dir_ + "/" + name);
  return paths;
}

DeviceHandle HidrawBackend::Open(const std::string& path, HidError* error) {
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    if (error) *error = HidErrorFromErrno(errno);
    return kInvalidHandle;
  }
  open_.push_back({fd, path});
  if (error) *error = HidError::kNone;
  return fd;
}

void HidrawBackend::Close(DeviceHandle handle) {
  auto it = std::find_if(open_.begin(), open_.end(),
                         [handle](const OpenNode& node) { return node.fd == handle; });
  if (it == open_.end()) return;  // not ours: never close a stranger's descriptor
  open_.erase(it);
  ::close(handle);
}

bool HidrawBackend::Claim(DeviceHandle handle, InterfaceHolder* holder) {
  int r;
  do {
    r = ::flock(handle, LOCK_EX | LOCK_NB);
  } while (r < 0 && errno == EINTR);
  if (r == 0 || errno != EWOULDBLOCK) return true;
  if (holder) *holder = HolderOfLockedFile(handle);
  return false;
}

bool HidrawBackend::ClaimMouse(std::uint16_t vendor_id, std::uint16_t product_id,
                               InterfaceHolder* holder) {
  return mouse_claim_.Acquire(MouseClaimFolder(), MouseClaimFileName(vendor_id, product_id, dir_),
                              holder);
}

bool HidrawBackend::QueryInfo(DeviceHandle handle, HidInterfaceInfo* info) {
  hidraw_devinfo raw{};
  if (IoctlRetry(handle, HIDIOCGRAWINFO, &raw) < 0) return false;
  *info = HidInterfaceInfo{};
  info->vendor_id = static_cast<std::uint16_t>(raw.vendor);
  info->product_id = static_cast<std::uint16_t>(raw.product);
  int size = 0;
  if (IoctlRetry(handle, HIDIOCGRDESCSIZE, &size) < 0) return false;
  auto descriptor = std::make_unique<hidraw_report_descriptor>();
  descriptor->size = static_cast<std::uint32_t>(std::clamp(size, 0, HID_MAX_DESCRIPTOR_SIZE));
  if (IoctlRetry(handle, HIDIOCGRDESC, descriptor.get()) < 0) return false;
  const std::size_t length = std::min<std::size_t>(descriptor->size, HID_MAX_DESCRIPTOR_SIZE);
  // A descriptor we cannot read leaves the feature length 0: never the mouse.
  if (auto summary = ParseHidDescriptor({descriptor->value, length}))
    info->feature_report_length = summary->feature_report_length;
  return true;
}

bool HidrawBackend::SetFeature(DeviceHandle handle, std::span<const std::uint8_t> report,
                               HidError* error) {
  if (report.empty() || report.size() > HID_MAX_DESCRIPTOR_SIZE) {
    if (error) *error = HidError::kRefused;
    return false;
  }
  std::uint8_t buffer[HID_MAX_DESCRIPTOR_SIZE];
  std::copy(report.begin(), report.end(), buffer);
  const int n = IoctlRetry(handle, HIDIOCSFEATURE(report.size()), buffer);
  if (n < 0) {
    if (error) *error = ErrorOf(handle, errno);
    return false;
  }
  if (static_cast<std::size_t>(n) < report.size()) {
    if (error) *error = HidError::kFailed;  // a report cut short reached the device
    return false;
  }
  if (error) *error = HidError::kNone;
  return true;
}

bool HidrawBackend::GetFeature(DeviceHandle handle, std::span<std::uint8_t> report,
                               HidError* error) {
  if (report.empty() || report.size() > HID_MAX_DESCRIPTOR_SIZE) {
    if (error) *error = HidError::kRefused;
    return false;
  }
  const int n = IoctlRetry(handle, HIDIOCGFEATURE(report.size()), report.data());
  if (n < 0) {
    if (error) *error = ErrorOf(handle, errno);
    return false;
  }
  // A short reply would leave stale bytes in the rest of the buffer: it is a
  // failed transfer, not data.
  if (static_cast<std::size_t>(n) < report.size()) {
    if (error) *error = HidError::kFailed;
    return false;
  }
  if (error) *error = HidError::kNone;
  return true;
}

std::optional<std::pair<std::uint16_t, std::uint16_t>> HidrawBackend::PeekIdentifiers(
    const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISCHR(st.st_mode)) return std::nullopt;
  const std::string uevent = "/sys/dev/char/" + std::to_string(major(st.st_rdev)) + ":" +
                             std::to_string(minor(st.st_rdev)) + "/device/uevent";
  std::ifstream in(uevent);
  std::string line;
  while (std::getline(in, line)) {
    unsigned bus = 0, vendor = 0, product = 0;
    if (std::sscanf(line.c_str(), "HID_ID=%x:%x:%x", &bus, &vendor, &product) == 3)
      return std::make_pair(static_cast<std::uint16_t>(vendor),
                            static_cast<std::uint16_t>(product));
  }
  return std::nullopt;
}

}  // namespace korvex48
