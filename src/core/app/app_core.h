#pragma once
// The state the flows share, without the window: the images (working, page
// copy), the code table, the device macro table, the connection state and
// what the last transfers left, read-only to front ends. The flows change it,
// one class each in its own header: Connection (connection.h), ImageFlows
// (image_flows.h), DeviceMacroFlows (device_macro_flows.h), ProfileFiles
// (profile_files.h) and FirmwareFlow (firmware_flow.h). The Engine builds it
// and every flow once; front ends reach them through the engine.
//
// Every flow that talks to the mouse checks first that both handles are valid
// and that no whole-image read runs and the mouse was not refused (`Loading`).
// Waits go through the clock, each 100 ms step followed by ProcessEvents.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/app/app_ui.h"
#include "core/app/change_guard.h"
#include "core/app/core_listener.h"
#include "core/app/device_macros.h"
#include "core/buttons/button_assignment.h"
#include "core/buttons/key_code_table.h"
#include "core/common/clock.h"
#include "core/common/file_io.h"
#include "core/common/text.h"
#include "core/device/command_set.h"
#include "core/device/live_write_queue.h"
#include "core/device/transport.h"
#include "core/files/firmware_patch.h"
#include "core/files/profile_file.h"
#include "core/image/config_image.h"
#include "core/image/default_image.h"
#include "core/image/image_copies.h"
#include "core/library/pc_macro_library.h"

namespace korvex48 {

// One entry of the device identifier table; an entry with a zero field is
// never tried.
struct DeviceIdEntry {
  std::int32_t vendor_id = 0;
  std::int32_t product_id = 0;
};

// Outcome of the device-information step.
// Every outcome but kAccepted leaves `Loading` set: a mouse that was not read
// whole gets no writes.
enum class DevInfoOutcome {
  kNotSent,          // command 13 or a follow-up read was not sent or lost a reply: no message;
                     // the next poll step asks again
  kUnknownPrimary,   // R2 neither 0x80 nor 0xC0: the mouse stays open, unread, no message
  kNoSecondary,      // "Flash" with parameter byte 6 bits 7-6 = 00 or 01: unread, no message
  kStorageMismatch,  // kinds do not fit the default image: Str102, no-device look, `Loading` set
  kRefused,          // customer identifier not accepted: Str107, `Loading` stays set
  kAccepted,         // the whole image was read
  kReadIncomplete,   // accepted, but replies of the whole-image read failed: nothing taken
};

struct DevInfoResult {
  DevInfoOutcome outcome = DevInfoOutcome::kNotSent;
  std::uint8_t variant = 0;        // reply byte R3
  std::optional<int> menu_height;  // 146 or 170 when the variant sets one
  std::string primary;             // as stored in the session
  std::string secondary;
  CustomerId customer_id{};  // as read (kRefused, kAccepted)
};

// What the poll step did.
enum class PollOutcome {
  kBusy,       // a poll step was already running
  kUnchanged,  // same count, or fewer than 2 of the 5 pairs agreed
  kLost,       // the count fell: DeviceLost ran
  kOpened,     // the count rose and the mouse was opened (see last DevInfoResult)
  kNotFound,   // the count rose but the mouse could not be opened: DeviceLost ran
  kHeld,       // the mouse is there but another program holds it: the no-device look
               // names the holder, and the next poll tries again
};

// The button labels as the button page shows them, and the selected profile
// (1..3): what the macro flows show again after they changed codes, and what
// the last-Left-Key rule looks at. Codes follow their macro by its address;
// no flow compares a label with a macro name.
struct ButtonView {
  ButtonTexts labels;
  int selected_profile = 1;
};

enum class MacroCommandResult {
  kDone,
  kNoDevice,     // no usable mouse: nothing changed
  kNoSelection,  // no row selected / index out of range: nothing changed
  kFull,         // 15 packed or 32 slot-layout macros: nothing changed, nothing shown
  kOutOfRange,   // no room in the packed area: Str103 shown, nothing changed
  kBadName,      // the library name cannot be stored (the area would read it as its end)
  kNoLayout,     // storage kinds fit no layout: nothing changed
  kNoEndByte,    // the library macro has no end byte within its 256 bytes: nothing changed
  kWriteFailed,  // the mouse stopped taking the save part way: LastTransferProblem()
  kNoBackup,     // no backup could be made (BackupProblem()): nothing sent
};

enum class FileCommandStatus {
  kDone,
  kNoDevice,     // Str022 shown
  kRefused,      // "Loading .bin is error!" shown; nothing changed
  kFileError,    // the file could not be read or written; `error` says why
  kWriteFailed,  // the mouse stopped taking the image part way: LastTransferProblem()
  kUnread,       // the mouse's configuration was not read whole: nothing saved
  kNoBackup,     // no backup could be made (BackupProblem()): nothing sent
};

struct FileCommandResult {
  FileCommandStatus status = FileCommandStatus::kDone;
  std::string path;  // the file written or read
  FileError error;
  bool ok() const { return status == FileCommandStatus::kDone; }
};

enum class FirmwareResult {
  kNothing,         // no usable mouse or no patch loaded: nothing sent, nothing shown
  kNotFlash,        // the mouse's storage is not "Flash" + "Flash": nothing sent
  kWriteFailed,     // the patch stopped part way: no descriptor, no restart
  kRestartRefused,  // patch and descriptor are on the mouse, but it refused the restart and
                    // stays open as it was
  kProgrammed,      // patch, descriptor and restart sent; the mouse was searched again
  kNoBackup,        // no backup could be made (BackupProblem()): nothing sent
};

// How a restart of the mouse (command 14) went.
enum class RestartResult {
  kNoDevice,    // no open mouse: nothing sent
  kRefused,     // the mouse did not take the command: it stays on the bus, still open
  kFoundAgain,  // it left the bus and was found again 5.1 s later
  kNotBack,     // it left the bus and was not found again (polling looks for it)
};

class AppCore {
 public:
  // Not owned; all must outlive the core. The command set should show its
  // busy pop-up through `ui` (CommandSet(transport, ui)).
  AppCore(Transport& transport, CommandSet& commands, AppUi& ui, Clock& clock = DefaultClock());

  // ---- Start --------------------------------------------------------------
  // Language of the names compared by the macro flows; required before them.
  void SetTextLookup(TextLookup text) { text_ = std::move(text); }
  // The view the core keeps current (the page editor; nullptr: none). Not
  // owned; it must stay until it is replaced.
  void SetListener(CoreListener* listener) { listener_ = listener; }
  // Second accepted customer identifier (settings Rev_Manu_ID, Rev_Pro_ID).
  void SetReserveIds(int manu, int pro);
  // Another default device image than the embedded KORVEX48DATA (tests, a
  // product with "Flash" storage); call before Start.
  void SetDefaultImage(std::span<const std::uint8_t> image);
  // What the window's creation takes from the default image: the default
  // identifiers, customer identifier and storage kind, entry 1 of the device
  // identifier table; then TakeDefaultImage. No device is searched here.
  void Start();
  // The working image, macro table and pages from the default image.
  void TakeDefaultImage();

  // ---- Shown and saved images -------------------------------------------
  // Working image -> page copy, code table, pages.
  void ShowWorkingImage();
  // Before a profile file is written: `parameters` (the page copy's section
  // with what the pages show laid over it, PageEditor::SavedParameters) with
  // parameter byte 0 the layout mark, and the page copy's profile section,
  // both with their checksums, become the working image's sections. The
  // page copy stays what the mouse holds: a save sends nothing.
  void PrepareImageForSave(const ParameterSection& parameters);

  // ---- Edits of the page copy --------------------------------------------------
  // The pages' editing operations (PageEditor) change the page copy and the
  // code table only through these; none of them sends anything (the caller
  // hands the same bytes to the live-write queue) or touches the working
  // image.
  //
  // `bytes` into the page copy's parameter section from `offset` on; false,
  // nothing changed, when they do not fit in it.
  bool SetPageParameters(std::size_t offset, std::span<const std::uint8_t> bytes);
  bool SetPageParameter(std::size_t offset, std::uint8_t value) {
    return SetPageParameters(offset, std::span(&value, 1));
  }
  // Button codes the rules of the code table worked out on a copy of Codes()
  // (every change to a code table comes as such a write): each goes into the
  // code table and into the page copy's profile section. A write that is no
  // button's code changes nothing (then none of them goes into the section).
  void StoreButtonCodes(std::span<const ProfileByteWrite> writes);
  // After the mouse refused live writes: the bytes it is known to hold go
  // back into the page copy, and the code table is taken from the profile
  // section again when a byte of it changed. Bytes outside their section are
  // skipped. True when anything changed.
  bool RestoreMouseBytes(std::span<const MouseByte> bytes);
  // Entry `index` (0 or 1) of the device identifier table, which the poll
  // step searches; false, nothing changed, for another index.
  bool SetDeviceId(std::size_t index, DeviceIdEntry entry);

  // ---- Larger changes ------------------------------------------------------
  // What keeps the backups and journals of larger changes (nullptr: none are
  // kept, for programs that only drive the core). Not owned.
  void SetChangeGuard(ChangeGuard* guard) { guard_ = guard; }
  // Called by the flows before the first report of a change of more than one
  // report: the backup of what the mouse holds (MouseImage) and the journal
  // of `target` (nullptr: the configuration is not changed). Inside a change
  // already begun nothing more is kept. False when the mouse was not read
  // whole or the backup could not be written: the user was told
  // (BackupProblem()) and nothing may be sent.
  bool BeginChange(const ChangeLabel& label, const ConfigImage* target);
  // The end of every change BeginChange let start: `finished` when the
  // mouse took all of it. A change that was cut stays unfinished.
  void EndChange(bool finished);
  // A change begun was cut; `read_back`: the core holds what the mouse holds
  // now. Keeps LastCut() and offers the user to finish or undo it, after the
  // flow's own message (AppUi::OfferRecovery).
  void ChangeWasCut(bool read_back);
  // Why the last change was refused for want of a backup; empty otherwise.
  const std::string& BackupProblem() const { return backup_problem_; }
  // The change last cut, or found unfinished by a whole read; cleared when a
  // change begins.
  const std::optional<CutReport>& LastCut() const { return last_cut_; }
  // What the mouse holds as the pages know it: the page copy's sections and
  // the working image's macro storage and customer identifier.
  ConfigImage MouseImage() const;

  // ---- State ------------------------------------------------------------------
  // Read-only views; what changes them are the flows above.
  const DeviceSession& Session() const { return transport_.Session(); }
  StorageLayout Layout() const;
  // Both handles valid and `Loading` clear.
  bool DeviceUsable() const;

  const ConfigImage& Working() const { return working_; }
  const PageCopy& Page() const { return page_; }
  const KeyCodes& Codes() const { return codes_; }
  const DeviceMacros& Macros() const { return macros_; }
  // Naming sources for codes: language, fire identity (parameter byte 1 of
  // the page copy) and the device macro table. Its macro span stays valid
  // until the table changes.
  KeyNameSources NameSources() const;
  const DefaultIdentifiers& Defaults() const { return defaults_; }
  const std::array<DeviceIdEntry, 2>& DeviceIdTable() const { return id_table_; }
  const DevInfoResult& LastDevInfo() const { return last_info_; }
  // The working image holds the opened mouse's configuration as read whole
  // (or as written to it since): what may be saved or written back.
  bool ImageRead() const { return image_read_; }
  // One line on why the last whole-image transfer stopped or came back
  // incomplete; empty when it went through.
  const std::string& LastTransferProblem() const { return transfer_problem_; }
  // What the last whole-image write that stopped left on the mouse, in
  // lower case without a full stop: that nothing was changed when the mouse
  // took none of its reports, else that its configuration is incomplete.
  std::string StoppedWriteText() const;
  // The opened mouse left the bus (a transfer found its handles dead).
  bool MouseUnplugged() const { return transport_.DeviceGone(); }

 private:
  // The flows that change this state (each in its own header).
  friend class Connection;
  friend class FirmwareFlow;
  friend class ImageFlows;
  friend class ProfileFiles;
  friend class DeviceMacroFlows;

  // The device-lost path without its message.
  void ShowNoDeviceLook();
  // The no-device appearance; sets NoDevicePage.
  void ShowNoDevicePages();
  // The macro table from the working image's storage of `layout`; the
  // front end is not told (AdoptMacroStorage) or told (TakeUpMacroStorage).
  void AdoptMacroStorage(StorageLayout layout, std::string_view primary);
  void TakeUpMacroStorage(StorageLayout layout, std::string_view primary);
  // Working image -> page copy and code table, and the listener told; the
  // front end is not.
  void TakeInWorkingImage();
  // The whole macro storage of the working image, block by block; on success
  // the mouse is known to hold it (held_storage_).
  bool WriteMacroStorage();
  bool WriteWholeMacroStorage();
  // Reads the whole macro storage into `read`; when every reply came, the
  // bytes are what the mouse holds (held_storage_).
  void ReadMacroStorage(ConfigImage& read, int& replies, int& failed);
  // Counts one write of a whole-image flow; false (and the reason kept) when
  // the mouse stopped taking it.
  bool Wrote(bool ok);
  void BeginWrites();
  // Tells the user that the mouse holds part of what was written.
  void WriteStopped();
  void ForgetRead();     // the working image no longer is the opened mouse's
  void MacrosChanged();  // refreshes refs_ and the working image's storage
  // After a whole read: offers to finish or undo a change the newest
  // journal says did not finish, when the mouse shows it cut.
  void CheckUnfinishedChange();
  // The connection state the flows change (the transport's).
  DeviceSession& MutableSession() { return transport_.Session(); }

  Transport& transport_;
  CommandSet& commands_;
  AppUi& ui_;
  CoreListener* listener_ = nullptr;
  Clock& clock_;
  TextLookup text_;
  std::vector<std::uint8_t> default_image_;

  DefaultIdentifiers defaults_;
  std::array<DeviceIdEntry, 2> id_table_{};
  int rev_manu_id_ = 0;
  int rev_pro_id_ = 0;

  ConfigImage working_;
  // The macro storage byte for byte as the mouse holds it: as last read whole
  // or written; nullopt when not known. A parse packs a packed area again, so
  // the working image differs from it for an area another program wrote (an
  // event across the page boundary without the filler).
  struct HeldMacroStorage {
    MacroArea area{};
    MacroPages pages{};
  };
  std::optional<HeldMacroStorage> held_storage_;
  PageCopy page_;
  KeyCodes codes_;
  DeviceMacros macros_;
  std::vector<DeviceMacroRef> refs_;  // backing store of NameSources()
  DevInfoResult last_info_;
  bool image_read_ = false;
  bool reread_pending_ = false;
  bool read_failure_shown_ = false;  // one message for a run of failed reads
  int writes_taken_ = 0;
  std::string transfer_problem_;
  ChangeGuard* guard_ = nullptr;
  int change_depth_ = 0;
  bool change_cut_ = false;
  std::string backup_problem_;
  std::optional<CutReport> last_cut_;
};

}  // namespace korvex48
