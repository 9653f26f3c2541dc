// Construction, taking in an image, the value tables and the live-write helpers
// shared by the editing operations.
#include "core/editing/page_editor.h"

#include <algorithm>

#include "core/config/image_codec.h"
#include "core/image/parameter_fields.h"

namespace korvex48 {

std::uint8_t StoredComponent(int picked) {
  return static_cast<std::uint8_t>(std::clamp(picked, 0, 255) * 15 / 255);
}

int ShownComponent(std::uint8_t stored) { return stored * 255 / 15; }

std::uint8_t DpiLevelsByte(int count, int active) {
  return static_cast<std::uint8_t>(((count - 1) & 0x0F) * 16 + ((active - 1) & 0x0F));
}

PageEditor::PageEditor(AppCore& core, CommandSet& commands, Connection& connection,
                       ProfileFiles& files, DeviceMacroFlows& macro_flows)
    : core_(core),
      commands_(commands),
      connection_(connection),
      files_(files),
      macro_flows_(macro_flows) {
  TakeIn();
  core_.SetListener(this);
  commands_.LiveWrites().SetRefusalHandler(
      [this](const LiveWriteRefusal& refusal) { OnRefusal(refusal); });
}

PageEditor::~PageEditor() {
  core_.SetListener(nullptr);
  commands_.LiveWrites().SetRefusalHandler({});
}

ButtonRuleNames PageEditor::RuleNames() const {
  return ButtonRuleNames::FromLanguage(core_.NameSources().text);
}

int PageEditor::ActiveProfile() const {
  const int p = state_.settings.active_profile;
  return p >= 1 && p <= 3 ? p : 1;
}

void PageEditor::TakeIn() {
  // A level whose value nibble is 15 keeps the value it showed.
  state_.settings = PageSettingsOf(core_.Page().parameters, state_.settings);

  const KeyNameSources sources = core_.NameSources();
  ShowProfile(ActiveProfile());
  state_.fire = RefreshFireKey(core_.Codes(), ActiveProfile(), sources, state_.fire);
  state_.aim_step = RefreshAimStep(core_.Codes(), ActiveProfile(), sources, state_.aim_step);
  state_.rate_taken_in = state_.settings.report_rate_hz;
}

void PageEditor::OnDeviceLost() {
  commands_.LiveWrites().Clear();
  state_.rate_taken_in = 0;
  state_.reconnect_pending = false;
  state_.settings.led_kind_known = false;
}

ParameterSection PageEditor::SavedParameters() const {
  ParameterSection parameters = core_.Page().parameters;
  EncodeSettingsForSave(state_.settings, parameters);
  return parameters;
}

Configuration PageEditor::SavedConfiguration() const {
  ConfigImage image = MouseImage();
  image.parameters = SavedParameters();
  return DecodeConfiguration(image, core_.Layout(), core_.Session().PrimaryStorage);
}

FileCommandResult PageEditor::SaveProfile(const std::string& path) {
  return files_.SaveProfileFile(path, SavedParameters());
}

void PageEditor::ShowProfile(int profile) {
  const KeyNameSources sources = core_.NameSources();
  const auto namings = DescribeProfile(core_.Codes(), profile, sources);
  for (std::size_t i = 0; i < namings.size(); ++i) {
    state_.labels[i] = namings[i].name;
    // Naming a fire code shows its settings, as the pages do.
    LoadFireSettings(namings[i], state_.fire);
  }
  state_.clickable = ClickableButtons(profile, state_.labels, RuleNames());
}

void PageEditor::RetranslateLabels() {
  state_.labels = ProfileKeyNames(core_.Codes(), ActiveProfile(), core_.NameSources());
  state_.clickable = ClickableButtons(ActiveProfile(), state_.labels, RuleNames());
}

ButtonTexts PageEditor::LabelsOf(int profile) const {
  if (profile == ActiveProfile()) return state_.labels;
  return ProfileKeyNames(core_.Codes(), profile, core_.NameSources());
}

std::array<bool, kKeyButtons> PageEditor::ClickableOf(int profile) const {
  if (profile == ActiveProfile()) return state_.clickable;
  return ClickableButtons(profile, LabelsOf(profile), RuleNames());
}

bool PageEditor::WriteParameter(std::uint8_t offset, std::initializer_list<std::uint8_t> bytes,
                                LiveWriteKind kind) {
  if (!Live() || bytes.size() == 0 || bytes.size() > 3) return false;
  std::array<std::uint8_t, 3> d{};
  std::copy(bytes.begin(), bytes.end(), d.begin());
  // The queue reports a refusal of a queued write itself.
  (void)commands_.WriteParameterBytes(offset, d[0], d[1], d[2], static_cast<int>(bytes.size()),
                                      kind);
  return true;
}

void PageEditor::OnRefusal(const LiveWriteRefusal& refusal) {
  if (core_.RestoreMouseBytes(refusal.mouse_holds)) {
    // The state follows the bytes the mouse holds; the rate the mouse runs at
    // is still the one it was last taken in with.
    const int rate_taken_in = state_.rate_taken_in;
    const bool reconnect_pending = state_.reconnect_pending;
    TakeIn();
    state_.rate_taken_in = rate_taken_in;
    state_.reconnect_pending = reconnect_pending;
  }
  refused_writes_ += refusal.refused;
  if (refusal_listener_) refusal_listener_(refusal);
}

void PageEditor::StoreAndSendCodes(std::span<const ProfileByteWrite> writes, EditResult& result) {
  core_.StoreButtonCodes(writes);
  if (!Live()) return;
  for (const ProfileByteWrite& w : writes) {
    // As in WriteParameter.
    (void)commands_.WriteProfileBytes(static_cast<std::uint8_t>(w.offset), w.bytes[0], w.bytes[1],
                                      w.bytes[2], w.bytes[3]);
    result.sent = true;
  }
}

}  // namespace korvex48
