// A test device: serves a simulated mouse (and any unrelated HID interfaces)
// as hidraw nodes from a FUSE mount, so the real hidraw backend is tested end
// to end through the kernel. Nodes are regular files answering the hidraw
// ioctls; besides them the mount holds
//   control  write one SimulatedMouse::Control command per write, or
//            "open-error ERRNO" to make opens of the mouse's nodes fail (0: off)
//   state    read: the mouse's state; write: replace it (applied on close)
//   shapes   read: the reports the strict mouse refused for their shape, one
//            line each (empty while there are none)
//
// Usage: korvex48_fuse_hidraw MOUNTPOINT -s [FUSE options]
//          [--kind=i2c|flash-i2c|flash-flash] [--others=N]
// Without -f it returns once the mount is live. Unmount with fusermount3 -u.
#define FUSE_USE_VERSION 35
#include <fuse.h>
#include <fuse_opt.h>
#include <sys/ioctl.h>
// clang-format off
#include <linux/hidraw.h>
#include <linux/input.h>
// clang-format on

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "core/device/simulated_mouse.h"

namespace {

using korvex48::HidError;
using korvex48::SimulatedMouse;

struct Options {
  char* kind = nullptr;
  int others = 0;
};

const fuse_opt kOptionTemplates[] = {
    {"--kind=%s", offsetof(Options, kind), 0},
    {"--others=%d", offsetof(Options, others), 0},
    FUSE_OPT_END,
};

SimulatedMouse* g_mouse = nullptr;
// Open files of "state": what was written so far, applied on release.
std::map<std::uint64_t, korvex48::Bytes> g_state_writes;
std::uint64_t g_next_state_fh = 1;
int g_open_error = 0;

constexpr std::uint64_t kControlFh = 0;
constexpr std::uint64_t kStateFlag = 1ull << 63;
constexpr std::uint64_t kNodeFlag = 1ull << 62;

// hidraw<slot> -> slot; -1 otherwise.
int SlotOf(std::string_view path) {
  constexpr std::string_view prefix = "/hidraw";
  if (!path.starts_with(prefix)) return -1;
  int slot = -1;
  const char* first = path.data() + prefix.size();
  const char* last = path.data() + path.size();
  auto [end, ec] = std::from_chars(first, last, slot);
  if (ec != std::errc() || end != last || !g_mouse->SlotPresent(slot)) return -1;
  return slot;
}

int ErrnoOf(HidError error) {
  switch (error) {
    case HidError::kNone:
      return 0;
    case HidError::kGone:
      return ENODEV;
    case HidError::kRefused:
      return EPIPE;
    case HidError::kFailed:
      return EIO;
    case HidError::kPermission:
      return EACCES;
    case HidError::kBusy:
      return EBUSY;
    case HidError::kOther:
      break;
  }
  return EIO;
}

std::string RefusedShapesText() {
  std::string text;
  for (const std::string& shape : g_mouse->RefusedShapes()) text += shape + "\n";
  return text;
}

// A hidraw file handle: slot and the generation it was opened under.
std::uint64_t NodeFh(int slot) {
  return kNodeFlag | (g_mouse->SlotGeneration(slot) << 16) | static_cast<std::uint64_t>(slot);
}

int GetAttr(const char* path, struct stat* st, fuse_file_info*) {
  std::memset(st, 0, sizeof *st);
  const std::string_view p = path;
  if (p == "/") {
    st->st_mode = S_IFDIR | 0755;
    st->st_nlink = 2;
  } else if (p == "/control") {
    st->st_mode = S_IFREG | 0666;
    st->st_nlink = 1;
  } else if (p == "/state") {
    st->st_mode = S_IFREG | 0666;
    st->st_nlink = 1;
    st->st_size = static_cast<off_t>(g_mouse->SerializeState().size());
  } else if (p == "/shapes") {
    st->st_mode = S_IFREG | 0444;
    st->st_nlink = 1;
    st->st_size = static_cast<off_t>(RefusedShapesText().size());
  } else if (SlotOf(p) >= 0) {
    st->st_mode = S_IFREG | 0666;
    st->st_nlink = 1;
  } else {
    return -ENOENT;
  }
  return 0;
}

int ReadDir(const char* path, void* buf, fuse_fill_dir_t fill, off_t, fuse_file_info*,
            fuse_readdir_flags) {
  if (std::string_view(path) != "/") return -ENOENT;
  fill(buf, ".", nullptr, 0, fuse_fill_dir_flags{});
  fill(buf, "..", nullptr, 0, fuse_fill_dir_flags{});
  for (int slot = 0; slot < g_mouse->SlotCount(); ++slot)
    if (g_mouse->SlotPresent(slot))
      fill(buf, ("hidraw" + std::to_string(slot)).c_str(), nullptr, 0, fuse_fill_dir_flags{});
  fill(buf, "control", nullptr, 0, fuse_fill_dir_flags{});
  fill(buf, "state", nullptr, 0, fuse_fill_dir_flags{});
  fill(buf, "shapes", nullptr, 0, fuse_fill_dir_flags{});
  return 0;
}

int Open(const char* path, fuse_file_info* fi) {
  const std::string_view p = path;
  fi->direct_io = 1;
  fi->nonseekable = 1;
  if (p == "/control") {
    fi->fh = kControlFh;
    return 0;
  }
  if (p == "/shapes") {
    if ((fi->flags & O_ACCMODE) != O_RDONLY) return -EACCES;
    fi->fh = kControlFh;
    return 0;
  }
  if (p == "/state") {
    fi->fh = kStateFlag | g_next_state_fh++;
    if ((fi->flags & O_ACCMODE) != O_RDONLY) g_state_writes[fi->fh] = {};
    return 0;
  }
  const int slot = SlotOf(p);
  if (slot < 0) return -ENOENT;
  if (g_open_error != 0 && g_mouse->SlotInfo(slot).vendor_id == g_mouse->VendorId())
    return -g_open_error;
  fi->fh = NodeFh(slot);
  return 0;
}

int Truncate(const char*, off_t, fuse_file_info*) { return 0; }

int Read(const char* path, char* buf, size_t size, off_t offset, fuse_file_info*) {
  const std::string_view p = path;
  if (p != "/state" && p != "/shapes") return -EINVAL;
  const std::string shapes = p == "/shapes" ? RefusedShapesText() : std::string();
  const korvex48::Bytes state =
      p == "/shapes" ? korvex48::Bytes(shapes.begin(), shapes.end()) : g_mouse->SerializeState();
  if (offset < 0 || static_cast<std::size_t>(offset) >= state.size()) return 0;
  const std::size_t n = std::min(size, state.size() - static_cast<std::size_t>(offset));
  std::memcpy(buf, state.data() + offset, n);
  return static_cast<int>(n);
}

int Write(const char* path, const char* buf, size_t size, off_t offset, fuse_file_info* fi) {
  const std::string_view p = path;
  if (p == "/control") {
    const std::string_view command(buf, size);
    constexpr std::string_view kOpenError = "open-error ";
    if (command.starts_with(kOpenError)) {
      auto [end, ec] = std::from_chars(buf + kOpenError.size(), buf + size, g_open_error);
      return ec == std::errc() ? static_cast<int>(size) : -EINVAL;
    }
    return g_mouse->Control(command) ? static_cast<int>(size) : -EINVAL;
  }
  if (p != "/state") return -EINVAL;
  auto it = g_state_writes.find(fi->fh);
  if (it == g_state_writes.end() || offset < 0 || offset > (1 << 20)) return -EINVAL;
  korvex48::Bytes& data = it->second;
  if (data.size() < static_cast<std::size_t>(offset) + size) data.resize(offset + size);
  std::memcpy(data.data() + offset, buf, size);
  return static_cast<int>(size);
}

int Release(const char*, fuse_file_info* fi) {
  auto it = g_state_writes.find(fi->fh);
  if (it != g_state_writes.end()) {
    if (!it->second.empty() && !g_mouse->LoadState(it->second))
      std::fprintf(stderr, "korvex48_fuse_hidraw: ignored a state that is not one\n");
    g_state_writes.erase(it);
  }
  return 0;
}

int Ioctl(const char*, unsigned int cmd, void*, fuse_file_info* fi, unsigned int flags,
          void* data) {
  if (flags & FUSE_IOCTL_COMPAT) return -ENOSYS;
  if (!(fi->fh & kNodeFlag)) return -ENOTTY;
  const int slot = static_cast<int>(fi->fh & 0xFFFF);
  if (!g_mouse->SlotPresent(slot) || NodeFh(slot) != fi->fh) return -ENODEV;
  if (_IOC_TYPE(cmd) != 'H') return -ENOTTY;
  const std::size_t size = _IOC_SIZE(cmd);
  switch (_IOC_NR(cmd)) {
    case _IOC_NR(HIDIOCGRDESCSIZE): {
      const int length = static_cast<int>(g_mouse->SlotDescriptor(slot).size());
      std::memcpy(data, &length, sizeof length);
      return 0;
    }
    case _IOC_NR(HIDIOCGRDESC): {
      // The kernel copies the whole structure back: its size field must be set.
      auto* descriptor = static_cast<hidraw_report_descriptor*>(data);
      const korvex48::Bytes bytes = g_mouse->SlotDescriptor(slot);
      descriptor->size = static_cast<__u32>(bytes.size());
      std::memcpy(descriptor->value, bytes.data(), bytes.size());
      return 0;
    }
    case _IOC_NR(HIDIOCGRAWINFO): {
      const korvex48::HidInterfaceInfo info = g_mouse->SlotInfo(slot);
      hidraw_devinfo raw{};
      raw.bustype = BUS_USB;
      raw.vendor = static_cast<__s16>(info.vendor_id);
      raw.product = static_cast<__s16>(info.product_id);
      std::memcpy(data, &raw, sizeof raw);
      return 0;
    }
    case _IOC_NR(HIDIOCSFEATURE(0)): {
      auto* bytes = static_cast<std::uint8_t*>(data);
      const HidError e = g_mouse->SlotSetFeature(slot, {bytes, size});
      return e == HidError::kNone ? static_cast<int>(size) : -ErrnoOf(e);
    }
    case _IOC_NR(HIDIOCGFEATURE(0)): {
      auto* bytes = static_cast<std::uint8_t*>(data);
      std::size_t length = 0;
      const HidError e = g_mouse->SlotGetFeature(slot, {bytes, size}, &length);
      return e == HidError::kNone ? static_cast<int>(length) : -ErrnoOf(e);
    }
    default:
      return -ENOTTY;
  }
}

}  // namespace

int main(int argc, char** argv) {
  fuse_args args = FUSE_ARGS_INIT(argc, argv);
  Options options;
  if (fuse_opt_parse(&args, &options, kOptionTemplates, nullptr) != 0) return 2;
  auto storage = korvex48::ParseSimulatedStorage(options.kind ? options.kind : "i2c");
  if (!storage || options.others < 0 || options.others > 1000) {
    std::fprintf(stderr, "korvex48_fuse_hidraw: bad --kind or --others\n");
    return 2;
  }
  auto mouse = std::make_unique<SimulatedMouse>(*storage);
  mouse->SetOtherInterfaces(options.others);
  g_mouse = mouse.get();

  fuse_operations ops{};
  ops.getattr = GetAttr;
  ops.readdir = ReadDir;
  ops.open = Open;
  ops.truncate = Truncate;
  ops.read = Read;
  ops.write = Write;
  ops.release = Release;
  ops.ioctl = Ioctl;
  const int status = fuse_main(args.argc, args.argv, &ops, nullptr);
  fuse_opt_free_args(&args);
  free(options.kind);
  return status;
}
