#include "core/backups/backup_store.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

namespace korvex48 {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxChangeBytes = 4096;
// "20261211T103000.123456Z": the name's time, fixed width, so that the order
// of names is the order of times.
constexpr std::size_t kStampLength = 23;

std::string Stamp(long long micros) {
  const std::time_t seconds = static_cast<std::time_t>(micros / 1000000);
  std::tm tm{};
  if (const std::tm* utc = std::gmtime(&seconds)) tm = *utc;
  char text[96];
  std::snprintf(text, sizeof text, "%04d%02d%02dT%02d%02d%02d.%06lldZ", tm.tm_year + 1900,
                tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, micros % 1000000);
  return text;
}

}  // namespace

std::optional<long long> BackupNameTime(std::string_view name) {
  if (name.size() < kStampLength + 2 || name[kStampLength] != '_' || name[8] != 'T' ||
      name[15] != '.' || name[22] != 'Z')
    return std::nullopt;
  int fields[6] = {};
  const int widths[6] = {4, 2, 2, 2, 2, 2};
  const std::size_t starts[6] = {0, 4, 6, 9, 11, 13};
  for (int i = 0; i < 6; ++i) {
    int v = 0;
    for (std::size_t k = 0; k < static_cast<std::size_t>(widths[i]); ++k) {
      const char c = name[starts[i] + k];
      if (c < '0' || c > '9') return std::nullopt;
      v = v * 10 + (c - '0');
    }
    fields[i] = v;
  }
  long long fraction = 0;
  for (std::size_t k = 16; k < 22; ++k) {
    if (name[k] < '0' || name[k] > '9') return std::nullopt;
    fraction = fraction * 10 + (name[k] - '0');
  }
  // Days since 1970-01-01 of a civil date (proleptic Gregorian calendar).
  int y = fields[0];
  const int m = fields[1], d = fields[2];
  if (m < 1 || m > 12 || d < 1 || d > 31) return std::nullopt;
  y -= m <= 2;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const long long days = static_cast<long long>(era) * 146097 + doe - 719468;
  return ((days * 24 + fields[3]) * 60 + fields[4]) * 60LL * 1000000 + fields[5] * 1000000LL +
         fraction;
}

namespace {

std::string ShownTime(const std::string& name) {
  // 20261211T103000 -> 2026-12-11 10:30:00 UTC
  return name.substr(0, 4) + "-" + name.substr(4, 2) + "-" + name.substr(6, 2) + " " +
         name.substr(9, 2) + ":" + name.substr(11, 2) + ":" + name.substr(13, 2) + " UTC";
}

std::string Slug(const std::string& kind) {
  std::string slug;
  for (char c : kind) {
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-') slug += c;
  }
  return slug.empty() ? "change" : slug;
}

std::span<const std::uint8_t> Bytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace

std::string DefaultBackupFolder() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state && *state) return std::string(state) + "/korvex48/backups";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : ".") + "/.local/state/korvex48/backups";
}

std::vector<BackupEntry> BackupStore::List() const {
  std::vector<std::pair<std::string, BackupEntry>> found;
  std::error_code ec;
  for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    std::error_code dir_ec;
    if (!BackupNameTime(name) || !it->is_directory(dir_ec)) continue;
    BackupEntry e;
    e.folder = it->path().string();
    if (!fs::is_regular_file(e.BeforeFile(), dir_ec)) continue;
    e.time = ShownTime(name);
    if (auto change = ReadWholeFile(e.folder + "/change", nullptr, kMaxChangeBytes)) {
      e.change.assign(change->begin(), change->end());
      while (!e.change.empty() && (e.change.back() == '\n' || e.change.back() == '\r'))
        e.change.pop_back();
    }
    e.journal = fs::is_regular_file(e.TargetFile(), dir_ec);
    e.finished = fs::exists(e.folder + "/finished", dir_ec);
    found.emplace_back(name, std::move(e));
  }
  std::sort(found.begin(), found.end(),
            [](const auto& a, const auto& b) { return a.first > b.first; });
  std::vector<BackupEntry> entries;
  for (auto& f : found) entries.push_back(std::move(f.second));
  return entries;
}

std::optional<BackupEntry> BackupStore::Save(const std::string& kind, const std::string& change,
                                             const BackupContent& content, FileError* error) {
  if (!EnsureDirectory(folder_, error)) return std::nullopt;
  // Newer than every backup kept, whatever the clock says.
  long long micros = std::chrono::duration_cast<std::chrono::microseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
  const std::vector<BackupEntry> kept = List();
  if (!kept.empty()) {
    const std::string newest = fs::path(kept.front().folder).filename().string();
    if (auto last = BackupNameTime(newest); last && *last >= micros) micros = *last + 1;
  }
  BackupEntry e;
  const std::string name = Stamp(micros) + "_" + Slug(kind);
  e.folder = folder_ + "/" + name;
  e.time = ShownTime(name);
  e.change = change;
  std::error_code ec;
  if (!fs::create_directory(e.folder, ec)) {
    if (error) *error = {e.folder, ec ? ec.message() : "exists already"};
    return std::nullopt;
  }
  bool ok = WriteFileAtomically(e.BeforeFile(), content.before_file, error) &&
            WriteFileAtomically(e.BeforeText(), Bytes(content.before_text), error) &&
            WriteFileAtomically(e.folder + "/change", Bytes(change + "\n"), error);
  if (ok && !content.target_file.empty()) {
    ok = WriteFileAtomically(e.TargetText(), Bytes(content.target_text), error) &&
         WriteFileAtomically(e.TargetFile(), content.target_file, error);
    e.journal = ok;
  }
  if (!ok) {
    fs::remove_all(e.folder, ec);
    return std::nullopt;
  }
  const std::vector<BackupEntry> all = List();
  for (std::size_t i = kBackupsKept; i < all.size(); ++i) fs::remove_all(all[i].folder, ec);
  return e;
}

bool BackupStore::MarkFinished(const BackupEntry& entry, FileError* error) {
  static constexpr std::uint8_t kNothing[1] = {'\n'};
  return WriteFileAtomically(entry.folder + "/finished", kNothing, error);
}

}  // namespace korvex48
