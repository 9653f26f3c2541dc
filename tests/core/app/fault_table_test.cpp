// Faults in the middle of every whole-image flow, for each storage kind: a
// reply that fails once, a report the mouse refuses once, and the mouse
// leaving the bus, each at the start, the middle and the end of the flow.
// Whatever happens, the flow says it did not go through, and the mouse holds
// no section with a valid checksum over bytes nobody chose: each section is
// as it was, as the flow meant it, or visibly broken.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "app_rig.h"
#include "core/files/profile_file.h"
#include "core/library/library_files.h"

namespace korvex48::test {
namespace {

enum class Flow { kRead, kReset, kLoadProfile, kMacroAdd, kMacroDelete, kFirmware };
enum class Fault { kReplyFails, kReportRefused, kMouseVanishes };

const char* FlowName(Flow f) {
  switch (f) {
    case Flow::kRead:
      return "read";
    case Flow::kReset:
      return "reset";
    case Flow::kLoadProfile:
      return "load-profile";
    case Flow::kMacroAdd:
      return "macro-add";
    case Flow::kMacroDelete:
      return "macro-delete";
    case Flow::kFirmware:
      return "firmware";
  }
  return "?";
}

bool ParametersValid(ParameterSection p) {
  const std::uint8_t stored = p[kParameterChecksumOffset];
  CalcParameterChecksum(p);
  return p[kParameterChecksumOffset] == stored;
}

bool ProfilesValid(ProfileSection p) {
  const std::uint8_t stored = p[kProfileChecksumOffset];
  CalcProfileChecksum(p);
  return p[kProfileChecksumOffset] == stored;
}

const PcMacroLibrary& Library() {
  static const PcMacroLibrary library = [] {
    PcMacroLibrary lib;
    lib.Load(DefaultLibraryBytes());
    return lib;
  }();
  return library;
}

class FaultTable : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("korvex48_faults_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // A connected rig with what the flow needs already in place.
  std::unique_ptr<AppRig> Prepared(SimulatedStorage storage, Flow flow) {
    auto rig = std::make_unique<AppRig>(storage);
    EXPECT_EQ(rig->Connect().outcome, DevInfoOutcome::kAccepted);
    if (flow == Flow::kMacroDelete) {
      EXPECT_EQ(rig->macro_flows.AddMacroToMouse(Library(), 0, {}), MacroCommandResult::kDone);
      EXPECT_TRUE(rig->images.ReadConfiguration());
    }
    if (flow == Flow::kLoadProfile) {
      ConfigImage image = rig->core.Working();
      image.parameters[33] = 1;
      image.profiles[4] = 0x01;
      image.profiles[5] = 0x02;
      CalcParameterChecksum(image.parameters);
      CalcProfileChecksum(image.profiles);
      image.customer_id = {0x12, 0x34};  // another product's: never written
      // Another mouse's USB identifiers: the mouse keeps its own.
      const std::uint8_t foreign_usb_ids[] = {0x12, 0x34, 0x56, 0x78};
      std::copy(std::begin(foreign_usb_ids), std::end(foreign_usb_ids),
                image.parameters.begin() + 2);
      EXPECT_TRUE(WriteProfileFile(Profile(), image, rig->core.Layout()));
    }
    rig->ClearLogs();
    return rig;
  }

  std::string Profile() const { return (dir_ / "profile.bin").string(); }

  bool Run(AppRig& rig, Flow flow) {
    switch (flow) {
      case Flow::kRead:
        return rig.images.ReadConfiguration();
      case Flow::kReset:
        return rig.images.ResetMouse();
      case Flow::kLoadProfile:
        return rig.files.LoadProfile(Profile()).ok();
      case Flow::kMacroAdd:
        return rig.macro_flows.AddMacroToMouse(Library(), 0, {}) == MacroCommandResult::kDone;
      case Flow::kMacroDelete:
        return rig.macro_flows.DeleteDeviceMacro(0, {}) == MacroCommandResult::kDone;
      case Flow::kFirmware: {
        FirmwarePatch patch;
        std::vector<std::uint8_t> file(kMinFirmwareFileSize, 0x00);
        for (std::size_t i = 0; i < kPatchCodeSize; ++i)
          file[kPatchFileOffset + i] = static_cast<std::uint8_t>(i * 7);
        EXPECT_EQ(patch.LoadBytes(file), FirmwarePatch::LoadStatus::kLoaded);
        return rig.firmware.ProgramFirmware(patch) == FirmwareResult::kProgrammed;
      }
    }
    return false;
  }

  std::filesystem::path dir_;
};

TEST_F(FaultTable, EveryWholeImageFlowStopsLoudlyAndLeavesNoFalseSection) {
  struct Kind {
    SimulatedStorage storage;
    std::vector<Flow> flows;
  };
  const std::vector<Flow> common = {Flow::kRead, Flow::kReset, Flow::kLoadProfile, Flow::kMacroAdd,
                                    Flow::kMacroDelete};
  std::vector<Flow> with_firmware = common;
  with_firmware.push_back(Flow::kFirmware);
  for (const Kind& kind :
       {Kind{SimulatedStorage::kI2C, common}, Kind{SimulatedStorage::kFlashI2C, common},
        Kind{SimulatedStorage::kFlashFlash, with_firmware}}) {
    for (Flow flow : kind.flows) {
      SCOPED_TRACE(std::string(SimulatedStorageName(kind.storage)) + " " + FlowName(flow));
      // The flow without a fault: what it sends, and what the mouse then holds.
      auto reference = Prepared(kind.storage, flow);
      ASSERT_TRUE(Run(*reference, flow));
      int sets = 0, gets = 0;
      for (const TraceEntry& e : reference->trace.Reports()) {
        const bool sent = e.kind == TraceEntry::Kind::kSent;
        // Firmware: only what goes before the restart belongs to the flow.
        if (sent && e.bytes[0] == kCommandReportId && e.bytes[1] == kCmdRestart) break;
        (sent ? sets : gets) += 1;
      }
      if (flow == Flow::kLoadProfile) {
        // The file's customer identifier never reaches the mouse: the
        // programs still accept it afterwards.
        EXPECT_EQ(reference->mouse.GetCustomerId(), (CustomerId{0xFF, 0xFF}));
        const ParameterSection& loaded = reference->mouse.Parameters();
        EXPECT_TRUE(
            std::equal(loaded.begin() + 2, loaded.begin() + 6, DefaultImageBytes().begin() + 2));
        EXPECT_TRUE(ParametersValid(loaded));
        EXPECT_EQ(loaded[33], 1);  // the rest of the file was taken
        reference->connection.FindMouseAgain();
        EXPECT_EQ(reference->core.LastDevInfo().outcome, DevInfoOutcome::kAccepted);
      }
      const ParameterSection intended_parameters = reference->mouse.Parameters();
      const ProfileSection intended_profiles = reference->mouse.Profiles();

      for (Fault fault : {Fault::kReplyFails, Fault::kReportRefused, Fault::kMouseVanishes}) {
        const int count = fault == Fault::kReplyFails      ? gets
                          : fault == Fault::kReportRefused ? sets
                                                           : sets + gets;
        if (count == 0) continue;  // the flow has no such report
        for (int at : {0, count / 2, count - 1}) {
          SCOPED_TRACE("fault " + std::to_string(static_cast<int>(fault)) + " at " +
                       std::to_string(at) + " of " + std::to_string(count));
          auto rig = Prepared(kind.storage, flow);
          const ConfigImage working_before = rig->core.Working();
          const ParameterSection parameters_before = rig->mouse.Parameters();
          const ProfileSection profiles_before = rig->mouse.Profiles();
          const CustomerId id_before = rig->mouse.GetCustomerId();
          const std::vector<std::uint8_t> descriptor_before(
              rig->mouse.Memory().begin() + kPatchDescriptorAddress,
              rig->mouse.Memory().begin() + kPatchDescriptorAddress + 16);
          SimulatedFaults& f = rig->mouse.Faults();
          (fault == Fault::kReplyFails      ? f.fail_reply_after
           : fault == Fault::kReportRefused ? f.refuse_report_after
                                            : f.vanish_after_reports) = at;

          EXPECT_FALSE(Run(*rig, flow));
          ASSERT_FALSE(rig->ui.messages.empty());
          EXPECT_FALSE(rig->core.LastTransferProblem().empty());
          // The configuration itself is left unknown, except by a patch and
          // by a macro change, after which what the mouse holds is read
          // again while it still answers.
          if (flow == Flow::kMacroAdd || flow == Flow::kMacroDelete) {
            EXPECT_EQ(rig->core.ImageRead(), !rig->transport.DeviceGone());
          } else if (flow != Flow::kFirmware) {
            EXPECT_FALSE(rig->core.ImageRead());
          }

          const ParameterSection& p = rig->mouse.Parameters();
          const ProfileSection& q = rig->mouse.Profiles();
          EXPECT_TRUE(p == parameters_before || p == intended_parameters || !ParametersValid(p));
          EXPECT_TRUE(q == profiles_before || q == intended_profiles || !ProfilesValid(q));
          EXPECT_EQ(rig->mouse.GetCustomerId(), id_before);

          if (flow == Flow::kRead) {
            // Nothing read is taken, and nothing is written.
            EXPECT_EQ(rig->core.Working().parameters, working_before.parameters);
            EXPECT_EQ(rig->core.Working().profiles, working_before.profiles);
            EXPECT_EQ(rig->core.Working().macro_area, working_before.macro_area);
            EXPECT_TRUE(rig->trace.Commands(kCmdWriteSection).empty());
            EXPECT_TRUE(rig->trace.Commands(kCmdWriteMemory).empty());
          }
          if (flow == Flow::kFirmware) {
            // A patch cut off is never made to run: no restart, and no
            // descriptor unless the whole patch was taken (1 + 147 reports).
            EXPECT_EQ(rig->mouse.Restarts(), 0);
            if (at < 148) {
              EXPECT_TRUE(std::equal(descriptor_before.begin(), descriptor_before.end(),
                                     rig->mouse.Memory().begin() + kPatchDescriptorAddress));
            }
          }
        }
      }
    }
  }
}

TEST_F(FaultTable, NothingOfAnIncompleteReadIsSavedOrWrittenBack) {
  for (SimulatedStorage storage :
       {SimulatedStorage::kI2C, SimulatedStorage::kFlashI2C, SimulatedStorage::kFlashFlash}) {
    SCOPED_TRACE(SimulatedStorageName(storage));
    auto rig = Prepared(storage, Flow::kRead);
    rig->mouse.Faults().fail_reply_after = 20;
    ASSERT_FALSE(rig->images.ReadConfiguration());
    const ParameterSection before = rig->mouse.Parameters();
    rig->ClearLogs();

    const std::string saved = (dir_ / "saved").string();
    EXPECT_EQ(rig->engine.Editor().SaveProfile(ProfileFileTarget(saved)).status,
              FileCommandStatus::kUnread);
    EXPECT_EQ(rig->files.ExportDeviceMacros(saved).status, FileCommandStatus::kUnread);
    EXPECT_FALSE(std::filesystem::exists(ProfileFileTarget(saved)));
    EXPECT_EQ(rig->macro_flows.AddMacroToMouse(Library(), 0, {}), MacroCommandResult::kNoDevice);
    EXPECT_EQ(rig->macro_flows.DeleteDeviceMacro(0, {}), MacroCommandResult::kNoDevice);
    EXPECT_FALSE(rig->macro_flows.SaveDeviceMacros());
    EXPECT_TRUE(rig->trace.SentEntries().empty());
    EXPECT_EQ(rig->mouse.Parameters(), before);
  }
}

TEST_F(FaultTable, ALibraryMacroWithoutAnEndByteIsRefused) {
  auto rig = Prepared(SimulatedStorage::kI2C, Flow::kMacroAdd);
  PcMacroLibrary library;
  library.MutableSlot(0).name = MacroNameFromText("Loop");
  library.MutableSlot(0).events.fill(0x81);  // no end byte anywhere in the 256
  EXPECT_EQ(rig->macro_flows.AddMacroToMouse(library, 0, {}), MacroCommandResult::kNoEndByte);
  EXPECT_EQ(rig->core.Macros().Count(), 0u);
  EXPECT_TRUE(rig->trace.SentEntries().empty());
}

}  // namespace
}  // namespace korvex48::test
