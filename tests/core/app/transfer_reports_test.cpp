// The progress counts a front end gets for the whole-image flows match the
// busy pop-ups the flows really show, for each storage layout.
#include "core/app/transfer_reports.h"

#include <gtest/gtest.h>

#include "app_rig.h"

namespace korvex48::test {
namespace {

TEST(TransferReports, MatchTheBusyPopUpsOfEachFlow) {
  for (SimulatedStorage storage : {SimulatedStorage::kI2C, SimulatedStorage::kFlashFlash}) {
    SCOPED_TRACE(std::string(SimulatedStorageName(storage)));
    AppRig rig(storage);
    rig.ui.record_busy = true;
    ASSERT_EQ(rig.Connect().outcome, DevInfoOutcome::kAccepted);
    const StorageLayout layout = rig.core.Layout();
    EXPECT_EQ(rig.ui.Count("Show"), WholeImageReadReports(layout));

    rig.ui.Clear();
    ASSERT_TRUE(rig.images.WriteConfiguration());
    EXPECT_EQ(rig.ui.Count("Show"), WholeImageWriteReports(layout));
    rig.ui.Clear();
    ASSERT_TRUE(rig.images.ResetMouse());
    EXPECT_EQ(rig.ui.Count("Show"), WholeImageWriteReports(layout) + 1);

    rig.ui.Clear();
    ASSERT_TRUE(rig.macro_flows.SaveDeviceMacros());
    EXPECT_EQ(rig.ui.Count("Show"), MacroSaveReports(layout));

    if (layout == StorageLayout::kSlot) {
      FirmwarePatch patch;
      ASSERT_EQ(patch.LoadBytes(std::vector<std::uint8_t>(kMinFirmwareFileSize, 0x11)),
                FirmwarePatch::LoadStatus::kLoaded);
      rig.ui.Clear();
      ASSERT_EQ(rig.firmware.ProgramFirmware(patch), FirmwareResult::kProgrammed);
      // The mouse found again after its restart is read whole once more.
      EXPECT_EQ(rig.ui.Count("Show"), FirmwareReports() + WholeImageReadReports(layout));
    }
  }
}

}  // namespace
}  // namespace korvex48::test
