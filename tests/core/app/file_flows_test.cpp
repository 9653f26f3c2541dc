#include <gtest/gtest.h>

#include <filesystem>

#include "app_rig.h"
#include "core/common/file_io.h"

namespace korvex48::test {
namespace {

namespace fs = std::filesystem;

class FileFlowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("korvex48_app_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  fs::path dir_;
};

// The parameter section a save writes from the pages' settings, changed by
// `change` first.
ParameterSection Shown(AppRig& rig, const std::function<void(PageSettings&)>& change = {}) {
  PageSettings settings = rig.engine.Editor().State().settings;
  if (change) change(settings);
  ParameterSection parameters = rig.core.Page().parameters;
  EncodeSettingsForSave(settings, parameters);
  return parameters;
}

// ---- Save and load ------------------------------------------------------------

TEST_F(FileFlowsTest, SaveAndLoadRoundTripPerLayout) {
  struct Case {
    SimulatedStorage storage;
    std::size_t size;
    std::uint8_t mark;
  };
  for (const Case& c :
       {Case{SimulatedStorage::kI2C, 768, 0xE0}, Case{SimulatedStorage::kFlashI2C, 768, 0xE0},
        Case{SimulatedStorage::kFlashFlash, 8960, 0xF0}}) {
    SCOPED_TRACE(static_cast<int>(c.storage));
    AppRig rig(c.storage);
    const std::size_t macro_base = c.storage == SimulatedStorage::kI2C        ? 0x0200
                                   : c.storage == SimulatedStorage::kFlashI2C ? 0x4000
                                                                              : 0x3000;
    const std::uint8_t name[] = {0x00, 0x41, 0x00, 0x00};
    std::copy(std::begin(name), std::end(name), rig.mouse.Memory().begin() + macro_base);
    if (c.storage == SimulatedStorage::kFlashFlash) {
      rig.mouse.Memory()[0x4000] = 0xA1;
      rig.mouse.Memory()[0x4100] = 0x21;  // slot 1 is unused but written as it is
    } else {
      rig.mouse.Memory()[macro_base + 16] = 0xA1;  // events A1, end
    }
    ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
    ASSERT_EQ(rig.core.Macros().Count(), 1u);

    const ParameterSection shown = Shown(rig, [](PageSettings& s) { s.dpi_active_level = 2; });
    const FileCommandResult saved =
        rig.files.SaveProfileFile(ProfileFileTarget(Path("p.bin")), shown);
    ASSERT_TRUE(saved.ok()) << saved.error.message;
    EXPECT_EQ(saved.path, Path("p.bin.bin"));
    const auto file = ReadWholeFile(saved.path);
    ASSERT_TRUE(file);
    ASSERT_EQ(file->size(), c.size);
    EXPECT_EQ((*file)[0], c.mark);
    for (std::size_t i = 251; i < 256; ++i) EXPECT_EQ((*file)[i], 0xFF);
    const ConfigImage saved_image = rig.core.Working();

    // Another mouse state, then the file back into it.
    rig.mouse.ResetMemory(c.storage);
    rig.ClearLogs();
    const FileCommandResult loaded = rig.files.LoadProfile(saved.path);
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(rig.core.Working(), saved_image);
    EXPECT_EQ(rig.mouse.Parameters(), saved_image.parameters);
    EXPECT_EQ(rig.mouse.Profiles(), saved_image.profiles);
    EXPECT_EQ(rig.mouse.GetCustomerId(), saved_image.customer_id);
    EXPECT_EQ(rig.mouse.Memory()[macro_base + 1], 0x41);
    EXPECT_EQ(rig.core.Macros().Count(), 1u);
    EXPECT_EQ(rig.core.Page().parameters[38] & 0x0F, 1);
    if (c.storage == SimulatedStorage::kFlashFlash) {
      EXPECT_EQ(rig.mouse.Memory()[0x4100], 0x21);
    }
    EXPECT_EQ(rig.ui.Count("StartPolling"), 1);
    EXPECT_EQ(rig.ui.Count("UnlockPages"), 1);

    // A reconnection reads back what was loaded.
    ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
    EXPECT_EQ(rig.core.Working().parameters, saved_image.parameters);
    EXPECT_EQ(rig.core.Working().macro_area, saved_image.macro_area);
  }
}

TEST_F(FileFlowsTest, RefusedLoadsChangeNothing) {
  AppRig packed_source;
  ASSERT_EQ(packed_source.Connect().outcome, DevInfoOutcome::kAccepted);
  const auto packed_file =
      packed_source.engine.Editor().SaveProfile(ProfileFileTarget(Path("packed")));
  ASSERT_TRUE(packed_file.ok());
  WriteFileAtomically(Path("short.bin"), std::vector<std::uint8_t>(100, 0xE0));

  struct Case {
    const char* name;
    SimulatedStorage storage;
    std::string file;
    FileCommandStatus status;
    std::string message;  // Describe() of the one message, or "" for none
  };
  const std::vector<Case> cases = {
      {"PackedFileIntoSlotMouse", SimulatedStorage::kFlashFlash, packed_file.path,
       FileCommandStatus::kRefused, "Loading .bin is error!"},
      {"TooShort", SimulatedStorage::kI2C, Path("short.bin"), FileCommandStatus::kRefused,
       "Loading .bin is error!"},
      {"Missing", SimulatedStorage::kI2C, Path("missing.bin"), FileCommandStatus::kFileError, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AppRig rig(c.storage);
    ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
    ASSERT_TRUE(rig.core.SetPageParameter(33, 2));  // a page change not yet saved
    const ConfigImage working = rig.core.Working();
    const PageCopy page = rig.core.Page();
    const KeyCodes codes = rig.core.Codes();
    const Bytes mouse = rig.mouse.SerializeState();
    rig.ClearLogs();

    EXPECT_EQ(rig.files.LoadProfile(c.file).status, c.status);
    EXPECT_EQ(rig.core.Working(), working);
    EXPECT_EQ(rig.core.Page(), page);
    EXPECT_EQ(rig.core.Codes(), codes);
    EXPECT_EQ(rig.mouse.SerializeState(), mouse);
    EXPECT_TRUE(rig.trace.SentEntries().empty());
    std::vector<std::string> shown;
    for (const AppMessage& m : rig.ui.messages) shown.push_back(m.Describe());
    EXPECT_EQ(shown,
              c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
  }
}

TEST_F(FileFlowsTest, NoMouseShowsStr022) {
  AppRig rig;
  const ConfigImage working = rig.core.Working();
  EXPECT_EQ(rig.files.LoadProfile(Path("x.bin")).status, FileCommandStatus::kNoDevice);
  EXPECT_EQ(rig.engine.Editor().SaveProfile(ProfileFileTarget(Path("x"))).status,
            FileCommandStatus::kNoDevice);
  EXPECT_EQ(rig.ui.messages.size(), 2u);
  for (const AppMessage& m : rig.ui.messages) EXPECT_EQ(m.Describe(), "Str022");
  EXPECT_EQ(rig.core.Working(), working);
  EXPECT_FALSE(fs::exists(Path("x.bin")));
}

TEST_F(FileFlowsTest, RefusedFileThenSaveKeepsTheMouseCustomerId) {
  AppRig rig(SimulatedStorage::kFlashI2C);
  rig.mouse.SetCustomerId({0x12, 0x34});
  rig.core.SetReserveIds(0x12, 0x34);
  ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
  std::vector<std::uint8_t> foreign(768, 0x00);
  foreign[0] = 0xF0;  // wrong layout for this mouse
  foreign[249] = 0xAB;
  WriteFileAtomically(Path("foreign.bin"), foreign);
  EXPECT_EQ(rig.files.LoadProfile(Path("foreign.bin")).status, FileCommandStatus::kRefused);
  const auto saved = rig.engine.Editor().SaveProfile(ProfileFileTarget(Path("after")));
  ASSERT_TRUE(saved.ok());
  const auto file = ReadWholeFile(saved.path);
  ASSERT_TRUE(file);
  EXPECT_EQ((*file)[249], 0x12);
  EXPECT_EQ((*file)[250], 0x34);
}

TEST_F(FileFlowsTest, DeviceMacroExportPerLayout) {
  for (auto [storage, size] : std::vector<std::pair<SimulatedStorage, std::size_t>>{
           {SimulatedStorage::kI2C, 512}, {SimulatedStorage::kFlashFlash, 8704}}) {
    AppRig rig(storage);
    ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
    const auto result = rig.files.ExportDeviceMacros(Path("export"));
    ASSERT_TRUE(result.ok());
    const auto file = ReadWholeFile(result.path);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->size(), size);
  }
}

// ---- Firmware -----------------------------------------------------------------

TEST(Firmware, ProgramsPatchDescriptorRestartsAndFindsTheMouseAgain) {
  AppRig rig(SimulatedStorage::kFlashFlash);
  ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
  FirmwarePatch patch;
  std::vector<std::uint8_t> file(0x8000 + 1024, 0x00);
  for (std::size_t i = 0; i < 1024; ++i) file[0x8000 + i] = static_cast<std::uint8_t>(i);
  ASSERT_EQ(patch.LoadBytes(file), FirmwarePatch::LoadStatus::kLoaded);
  rig.ClearLogs();
  const std::uint64_t start = rig.clock.NowMicroseconds();

  EXPECT_EQ(rig.firmware.ProgramFirmware(patch), FirmwareResult::kProgrammed);

  const auto writes = rig.trace.Commands(kCmdWriteMemory);
  ASSERT_GE(writes.size(), 2u);
  EXPECT_EQ(writes[0], (Report{0x40, 0x07, 0xC0, 0x00, 0x04, 0x00, 0x00, 0x00}));
  EXPECT_EQ(writes[1], (Report{0x40, 0x07, 0x10, 0x00, 0x00, 0x10, 0x00, 0x00}));
  EXPECT_EQ(rig.mouse.Restarts(), 1);
  EXPECT_TRUE(std::equal(patch.Buffer().begin(), patch.Buffer().end(),
                         rig.mouse.Memory().begin() + 0xC000));
  const PatchDescriptor descriptor = CheckPatchCodeSection(patch.Buffer());
  EXPECT_TRUE(
      std::equal(descriptor.begin(), descriptor.end(), rig.mouse.Memory().begin() + 0x1000));
  // Restart, DeviceLost, then the search 5.1 s later finds and reads it.
  const auto restart = rig.trace.Commands(kCmdRestart);
  ASSERT_EQ(restart.size(), 1u);
  ASSERT_EQ(rig.ui.messages.size(), 1u);
  EXPECT_EQ(rig.ui.messages[0].Describe(), "Str100+Str101");
  EXPECT_GE(rig.clock.NowMicroseconds() - start, 5'200'000u);
  EXPECT_EQ(rig.core.LastDevInfo().outcome, DevInfoOutcome::kAccepted);
  EXPECT_TRUE(rig.session.HandlesValid());
  EXPECT_EQ(rig.ui.log.back(), "StartPolling");
}

// A mouse that takes the whole patch but not the restart never left the bus:
// that is a failure, told as such, and the mouse stays open as it was.
TEST(Firmware, ARefusedRestartIsAFailureAndKeepsTheMouseOpen) {
  AppRig rig(SimulatedStorage::kFlashFlash);
  ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
  FirmwarePatch patch;
  ASSERT_EQ(patch.LoadBytes(std::vector<std::uint8_t>(0x8400, 0x11)),
            FirmwarePatch::LoadStatus::kLoaded);
  rig.mouse.Faults().refuse_command_code = kCmdRestart;
  rig.ClearLogs();
  EXPECT_EQ(rig.firmware.ProgramFirmware(patch), FirmwareResult::kRestartRefused);
  EXPECT_EQ(rig.mouse.Restarts(), 0);
  const PatchDescriptor descriptor = CheckPatchCodeSection(patch.Buffer());
  EXPECT_TRUE(
      std::equal(descriptor.begin(), descriptor.end(), rig.mouse.Memory().begin() + 0x1000));
  ASSERT_EQ(rig.ui.messages.size(), 1u);
  EXPECT_NE(
      rig.ui.messages[0].literal.find("patch is on the mouse, but the restart did not happen"),
      std::string::npos);
  EXPECT_TRUE(rig.core.DeviceUsable());
  EXPECT_EQ(rig.ui.Count("UnlockPages"), 1);
  // Polling runs again.
  const auto started = std::find(rig.ui.log.rbegin(), rig.ui.log.rend(), "StartPolling");
  const auto stopped = std::find(rig.ui.log.rbegin(), rig.ui.log.rend(), "StopPolling");
  EXPECT_LT(std::distance(rig.ui.log.rbegin(), started),
            std::distance(rig.ui.log.rbegin(), stopped));
}

TEST(Firmware, NothingWithoutPatchOrMouse) {
  AppRig rig(SimulatedStorage::kFlashFlash);
  FirmwarePatch patch;
  std::vector<std::uint8_t> file(0x8000 + 1024, 0x5A);
  ASSERT_EQ(patch.LoadBytes(file), FirmwarePatch::LoadStatus::kLoaded);
  EXPECT_EQ(rig.firmware.ProgramFirmware(patch), FirmwareResult::kNothing);  // no mouse
  ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
  patch.ClearLoaded();
  rig.ClearLogs();
  EXPECT_EQ(rig.firmware.ProgramFirmware(patch), FirmwareResult::kNothing);
  EXPECT_TRUE(rig.trace.SentEntries().empty());
  EXPECT_TRUE(rig.ui.log.empty());
}

TEST(Firmware, MouseThatDoesNotComeBackLeavesPollingOn) {
  AppRig rig(SimulatedStorage::kFlashFlash);
  ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
  FirmwarePatch patch;
  ASSERT_EQ(patch.LoadBytes(std::vector<std::uint8_t>(0x8400, 0x00)),
            FirmwarePatch::LoadStatus::kLoaded);
  rig.ui.record_busy = true;
  rig.ui.on_process_events = [&] {
    if (rig.mouse.Restarts() == 1) rig.mouse.Unplug();
  };
  rig.ClearLogs();
  rig.firmware.ProgramFirmware(patch);
  EXPECT_FALSE(rig.session.HandlesValid());
  EXPECT_EQ(rig.ui.log.back(), "StartPolling");
  // The busy pop-up was hidden once the mouse left, before the message.
  const auto hide = std::find(rig.ui.log.rbegin(), rig.ui.log.rend(), "Hide");
  const auto lost = std::find(rig.ui.log.rbegin(), rig.ui.log.rend(), "Message Str100+Str101");
  EXPECT_LT(std::distance(rig.ui.log.rbegin(), lost), std::distance(rig.ui.log.rbegin(), hide));
}

}  // namespace
}  // namespace korvex48::test
