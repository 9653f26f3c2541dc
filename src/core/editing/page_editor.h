#pragma once
// The editing operations of the pages: one call per user change (a click, a
// picked colour, a menu entry, a field edit), shared by the GUI and the
// command-line tool. Each operation checks the rule that may forbid the
// change, updates the page state and the page copy of the image, and -- while
// both device handles are valid and `Loading` is clear -- sends exactly the
// reports the same click sends, through the command set's live writes.
//
// The state kept here is what the pages show: the typed PageSettings (DPI,
// report rate, lighting, profile; written into the image by a profile save),
// the labels of the shown profile, the fire-key settings, the AIM step. Front
// ends read it and change it only through the operations below. The core
// keeps it current itself (the editor is its CoreListener): the state is
// taken in whenever the core took an image in, relabelled when device macro
// codes fell back, and cleared of the mouse's writes when it is gone, all
// before the front end's AppUi hears of it.
//
// Messages are not shown here: an operation a rule refuses returns the
// message the page would show, and the caller shows it.
//
// Every operation changes the image and the state at once and hands its
// reports to the command set's live-write queue as one edit: they go out in
// order after the reports of earlier edits, also when the operation runs
// inside the wait of an earlier write. A report the mouse refuses puts the
// mouse's bytes back into the image and the state (see SetRefusalListener).
#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/app/app_core.h"
#include "core/app/connection.h"
#include "core/app/device_macro_flows.h"
#include "core/app/profile_files.h"
#include "core/buttons/button_assignment.h"
#include "core/buttons/fire_aim.h"
#include "core/buttons/key_code_table.h"
#include "core/config/configuration.h"
#include "core/config/page_settings.h"
#include "core/config/setting_values.h"
#include "core/device/command_set.h"
#include "core/editing/undo_history.h"

namespace korvex48 {

enum class EditStatus {
  kApplied,      // the change was made (and sent when live)
  kUnchanged,    // the click changes nothing (the only enabled level, ...)
  kRefused,      // a rule of the system forbids it: `message` holds its text
  kUnavailable,  // the control cannot be clicked now (disabled or hidden):
                 // nothing changed; `reason` says why, in English
};

struct EditResult {
  EditStatus status = EditStatus::kApplied;
  AppMessage message;            // kRefused: what the page shows (Str020, Str021, Str022, ...)
  std::string reason;            // kUnavailable: one line for logs and the command line
  bool sent = false;             // reports went to the mouse
  bool restarted = false;        // report rate: the mouse was restarted and searched again
  bool restart_refused = false;  // report rate: written, but the mouse refused the restart
  bool ok() const { return status == EditStatus::kApplied || status == EditStatus::kUnchanged; }
  // A control that cannot be clicked now, and why.
  static EditResult Unavailable(std::string why) {
    EditResult r;
    r.status = EditStatus::kUnavailable;
    r.reason = std::move(why);
    return r;
  }
};

// What the pages show besides the image bytes.
struct EditorState {
  // DPI levels, report rate, lighting and active profile as the pages show
  // them.
  PageSettings settings;
  // Labels Key1..Key12 of the shown (selected) profile, and which of them can
  // be clicked (fixed when the profile is shown).
  ButtonTexts labels;
  std::array<bool, kKeyButtons> clickable{};
  // The KB Switch Key menu entry; starts disallowed, allowed by Main Control.
  bool switch_entry_allowed = false;
  // The overlay over the buttons (profile 3 shown).
  bool overlay_shown = false;
  FireKeyTable fire{};
  int aim_step = 1;  // 1..12
  // Report rate in Hz last taken in from an image; 0 before any and after a
  // loss of the mouse.
  int rate_taken_in = 0;
  bool reconnect_pending = false;
};

// An 8-bit colour component picked by the user as the mouse stores it (0..15),
// and a stored component as shown (0..255).
std::uint8_t StoredComponent(int picked);
int ShownComponent(std::uint8_t stored);
// Byte 38: (count - 1) * 16 + (active - 1).
std::uint8_t DpiLevelsByte(int count, int active);

enum class ConfigApplyStatus {
  kApplied,      // what differed was sent (or, for a dry run, nothing was)
  kNoDevice,     // no usable mouse, or its configuration was not read whole
  kRefused,      // another storage kind, or macros that do not fit: nothing sent
  kWriteFailed,  // the mouse stopped taking the macro storage part way
  kNoBackup,     // no backup could be made (AppCore::BackupProblem()): nothing sent
};

struct ConfigApplyResult {
  ConfigApplyStatus status = ConfigApplyStatus::kApplied;
  // The differences between the mouse and the configuration, mouse first
  // (ConfigurationDifferences); empty when the mouse already holds it.
  std::vector<std::string> differences;
  std::string problem;     // kNoDevice, kRefused, kWriteFailed: one line
  bool restarted = false;  // a higher report rate restarted the mouse
  // Everything was written, but the mouse refused the restart its new report
  // rate needs (the user was told): it still runs at the rate it had.
  bool restart_refused = false;
};

class PageEditor : private CoreListener {
 public:
  // `core` and `commands` (the command set the core was built with) must
  // outlive the editor. The state starts from the core's page copy; the
  // editor is the core's listener until it goes.
  PageEditor(AppCore& core, CommandSet& commands, Connection& connection, ProfileFiles& files,
             DeviceMacroFlows& macro_flows);
  ~PageEditor() override;
  PageEditor(const PageEditor&) = delete;
  PageEditor& operator=(const PageEditor&) = delete;

  // What the pages show; changed only by the operations below.
  const EditorState& State() const { return state_; }
  AppCore& Core() { return core_; }

  // ---- Taking in and losing ------------------------------------------------
  // Fills the state from the page copy and the code table, as the pages do
  // when an image is taken in: the profile named by parameter byte 33 with
  // its labels, fire settings, AIM step, the rate taken in. Value nibbles of
  // 15 keep the level's text; the switch entry and overlay are not changed.
  void TakeIn();
  // The mouse is gone: the rate taken in and the reconnect-pending flag clear,
  // and the writes still queued for it are dropped.
  void OnDeviceLost();
  // The language changed: the labels of the shown profile are named again
  // from its codes (a device macro's name or a key combination stays as it
  // is, whatever text it happens to share with a language table), and which
  // of them can be clicked follows the names of the new language.
  void RetranslateLabels();

  // Called after the mouse refused live writes, once the queue is idle: the
  // image, the code table and the state already show what the mouse holds
  // (bytes the mouse's content is not known of keep the edit).
  void SetRefusalListener(std::function<void(const LiveWriteRefusal&)> listener) {
    refusal_listener_ = std::move(listener);
  }
  // Reports the mouse refused since the editor was made.
  int RefusedWrites() const { return refused_writes_; }

  // ---- Profiles (Main Control, Alternate Key, Reset Control) ---------------
  // Selects profile 1..3 and writes parameter byte 33. Refused without an
  // open device (Str022), profile 2 without a KB Switch Key in profile 1
  // (Str020), profile 3 without a KB Reset Key in profile 2 (Str021).
  // Nothing happens while the pages wait for the mouse (NoDevicePage).
  // Only the command allows (profile 1) or disallows (profile 2) the KB
  // Switch Key entry; the page of the active profile opened again at the end
  // of a read (kReopen) leaves the entry as it was.
  enum class Opening { kCommand, kReopen };
  EditResult SelectProfile(int profile, Opening opening = Opening::kCommand);
  // How the last complete whole-image read opened the page of the active
  // profile again (SelectProfile with kReopen, run by the editor itself as
  // the read ends; the mouse is still being read, so nothing is written):
  // the front end shows that page when it was applied, or the refusal.
  const EditResult& ReopenedAfterRead() const { return reopened_after_read_; }

  // ---- DPI -------------------------------------------------------------------
  // A click on level label 1..8: enables level count + 1 or disables level
  // count; writes byte 38 (also when nothing changed, as the page does; not
  // for the only enabled level). Does nothing at all while Loading.
  EditResult ToggleDpiLevel(int level);
  // The number of levels set to 1..8 at once, with the rule of the clicks
  // (the active level moves down to the last enabled level): one write of
  // byte 38 when the count changes; nothing when it is already `count`.
  EditResult SetDpiLevelCount(int count);
  // Mark of an enabled level 1..count: writes byte 38.
  EditResult SelectActiveDpiLevel(int level);
  // Step 1..12 of an enabled level (value index step - 1): writes the
  // level's nibble byte, then byte 38 with a neighbouring active level and
  // byte 38 again with the true one, so the mouse applies the value.
  EditResult SetDpiValue(int level, int step);
  // Indicator colour of an enabled level from an 8-bit pick (0..255 each):
  // writes the pair's three bytes at 75/78/81/84. Unavailable for Sync LEDs.
  EditResult SetDpiColour(int level, int red, int green, int blue);

  // ---- Report rate -----------------------------------------------------------
  // Choice 1..4 (125, 250, 500, 1000 Hz): bits 5-4 of byte 6 in the page
  // copy, one write; a rate above the one taken in restarts the mouse and
  // searches for it again 5.1 s later (RestartAndFindAgain), after which the
  // state is taken in from the mouse anew.
  EditResult SetReportRate(int choice);

  // ---- Lighting ----------------------------------------------------------------
  // Mode 0 (Off) or 1..5 offered by the LED kind: writes byte 37 =
  // (byte 37 AND 0xF0) + mode.
  EditResult SetLightingMode(int mode);
  // Step 1..10 (not while the mode is Off): bytes 52 and 53 = 5 * step.
  EditResult SetStepTime(int step);
  // Colour 1..7 from an 8-bit pick: three bytes at 54 + 3 * (colour - 1).
  // Unavailable for Sync LEDs.
  EditResult SetLightColour(int colour, int red, int green, int blue);

  // ---- Buttons ---------------------------------------------------------------
  // `profile` is the profile being edited: the GUI passes the selected one;
  // the command line may name another without selecting it. Profile 3 is
  // never edited; a label that cannot be clicked (reset keys, the switch key
  // in profile 2) is unavailable; the last Left Key stays (kRefused with no
  // message: the label goes back, nothing is sent). All need an open device.
  //
  // A menu entry by tag (KeyMenuItems): in profile 1 a change to or from the
  // KB Switch Key writes the button in profiles 2 and 3 too. The KB Switch
  // Key entry is offered in profile 1 only; the macro entry only when the
  // menu shows it.
  EditResult AssignMenuItem(int profile, int button, int tag);
  // A key combination as the key-combination dialog hands it over (its text
  // and its "02..." code).
  EditResult AssignKeyCombination(int profile, int button, std::string_view text,
                                  std::string_view code);
  // Device macro `index` (a row of the device macro list).
  EditResult AssignDeviceMacro(int profile, int button, std::size_t index);

  // ---- Fire and AIM keys -----------------------------------------------------
  // New settings of fire key 1..3 (repeat 1..15, delay 0..4094): rewrites and
  // sends the active profile's buttons showing that fire key; in profile 1
  // also parameter byte 1 (kept in the page copy too). Profile 3: the
  // settings change, nothing is sent (kUnavailable). Without a mouse only the
  // settings change. Settings out of range (a field still being typed)
  // change nothing (kUnavailable).
  EditResult SetFireKey(int fire_key, const FireKeySettings& settings);
  // AIM step 1..12: rewrites the AIM codes of the active profile. With no AIM
  // button the step returns to 1 and, in profiles 1 and 2, the message is
  // Str105 followed by the profile's page name (kRefused).
  EditResult SetAimStep(int step);

  // ---- Saving ------------------------------------------------------------------
  // The parameter section a profile save writes: the page copy's with the
  // shown settings laid over it (EncodeSettingsForSave).
  ParameterSection SavedParameters() const;
  // The configuration a profile save writes (SavedParameters over the mouse's
  // image), for the text form of Save Profile.
  Configuration SavedConfiguration() const;
  // "Save Profile" into the file `path`, exactly as named: the working image
  // prepared with SavedParameters (AppCore::PrepareImageForSave), written
  // with the macro storage (ProfileFiles::SaveProfileFile: refused without an
  // open mouse or a whole read).
  FileCommandResult SaveProfile(const std::string& path);

  // ---- The whole configuration -------------------------------------------
  // What the mouse holds as the pages know it: the page copy's sections and
  // the working image's macro storage.
  ConfigImage MouseImage() const;
  Configuration CurrentConfiguration() const;
  // Makes the mouse hold `target`, sending only what differs: changed button
  // codes and parameter bytes as live writes (report rate last, with the
  // restart a higher rate needs), and changed macros through the device macro
  // save together with the profile section. A configuration for another
  // storage kind or whose macros do not fit is refused before anything is
  // sent. The rules of single clicks (the last Left Key, profile 3) do not
  // apply: the configuration is taken as a whole. `dry_run` only works out
  // the differences.
  // A backup of what the mouse held is made before the first report
  // (kNoBackup when it cannot be: nothing sent); `label` names the change in
  // the backups.
  ConfigApplyResult ApplyConfiguration(const Configuration& target, bool dry_run = false,
                                       const ChangeLabel& label = {"apply", ""});
  // As ApplyConfiguration for a whole image (a backup to restore, the target
  // of a change to finish): every byte of its sections and macro storage
  // that differs is sent, the checksum bytes too, so the mouse ends holding
  // it byte for byte. Its customer identifier is not sent.
  ConfigApplyResult ApplyImage(const ConfigImage& wanted, bool dry_run, const ChangeLabel& label);

  // Names of codes with the core's current sources.
  KeyNameSources Sources() const { return core_.NameSources(); }

  // ---- Undo and redo -----------------------------------------------------
  // The steps of the operations above (each one a change of its own, a bar's
  // or a field's changes in a row one step) and of the changes the front end
  // makes through the flows, which it brackets with History().Begin().
  // Cleared by a whole read outside a change.
  UndoHistory& History() { return history_; }
  const UndoHistory& History() const { return history_; }

 private:
  // CoreListener.
  void ImageTakenIn() override { TakeIn(); }
  void ConfigurationRead() override;
  void LabelsChanged(const ButtonTexts& labels) override { state_.labels = labels; }
  void DeviceGone() override { OnDeviceLost(); }
  bool Live() const { return core_.DeviceUsable(); }
  // One edit's reports are queued while its hold lives and go out together.
  LiveWriteQueue::Hold Edit() { return LiveWriteQueue::Hold(commands_.LiveWrites()); }
  bool WriteParameter(std::uint8_t offset, std::initializer_list<std::uint8_t> bytes,
                      LiveWriteKind kind = LiveWriteKind::kValue);
  void OnRefusal(const LiveWriteRefusal& refusal);
  // Shows `count` levels with `active` checked and sends their byte; false
  // when the write could not be queued.
  bool WriteDpiLevels(int count, int active);
  void StoreAndSendCodes(std::span<const ProfileByteWrite> writes, EditResult& result);
  // ApplyImage, and ApplyConfiguration once encoded: `checksums` says
  // whether `wanted`'s checksum bytes are to be sent (a whole image's are;
  // a configuration laid over the mouse's image has the mouse's).
  ConfigApplyResult ApplyWanted(const ConfigImage& wanted, bool dry_run, const ChangeLabel& label,
                                bool checksums);
  // Its reports, once the backup was made.
  ConfigApplyResult SendImage(const ConfigImage& current, const ConfigImage& wanted, bool checksums,
                              ConfigApplyResult r);
  ButtonTexts LabelsOf(int profile) const;
  std::array<bool, kKeyButtons> ClickableOf(int profile) const;
  void ShowProfile(int profile);
  EditResult CheckButton(int profile, int button) const;
  EditResult FinishAssignment(int profile, const AssignmentResult& assigned);
  ButtonRuleNames RuleNames() const;
  int ActiveProfile() const;

  AppCore& core_;
  CommandSet& commands_;
  Connection& connection_;         // restarts the mouse for a higher report rate
  ProfileFiles& files_;            // writes the profile file Save Profile makes
  DeviceMacroFlows& macro_flows_;  // device macros of buttons and configurations
  EditorState state_;
  std::function<void(const LiveWriteRefusal&)> refusal_listener_;
  int refused_writes_ = 0;
  EditResult reopened_after_read_;
  UndoHistory history_{*this};
};

}  // namespace korvex48
