#include "backends/device_factory.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "backends/hidraw/hidraw_backend.h"
#include "core/common/file_io.h"
#include "core/device/command_set.h"
#include "core/image/default_image.h"

namespace korvex48 {
namespace {

DefaultIdentifiers Ids() {
  ImageHead head{};
  ReadDefaultHead(head);
  return DefaultIdentifiersOf(head);
}

TEST(DeviceFactoryTest, SuccessiveRunsSeeTheSameSimulatedMouseAndTraceTheirReports) {
  const std::string dir = ::testing::TempDir() + "/korvex48-factory-" +
                          std::to_string(::testing::UnitTest::GetInstance()->random_seed());
  std::filesystem::create_directories(dir);
  std::vector<std::string> args = {"--simulate=flash-flash:" + dir + "/mouse.state",
                                   "--trace=" + dir + "/trace.log"};
  DeviceOptions options;
  std::string error;
  ASSERT_TRUE(ParseDeviceOptions(args, &options, &error, [](const char*) { return nullptr; }));
  FakeClock clock;
  for (int run = 0; run < 2; ++run) {
    DeviceLink link = MakeDeviceLink(options, clock, &error);
    ASSERT_TRUE(link.transport) << error;
    ASSERT_NE(link.simulated, nullptr);
    ASSERT_TRUE(link.transport->OpenDevice(Ids().vendor_id, Ids().product_id));
    CommandSet commands(*link.transport);
    ParameterSection parameters{};
    ASSERT_TRUE(commands.ReadSection(0, 0, parameters, false));
    EXPECT_EQ(parameters[33], run == 0 ? 0 : 2);
    if (run == 0) {
      ASSERT_TRUE(commands.WriteParameterBytes(33, 2, 0, 0, 1));
    }
  }
  auto trace = ReadWholeFile(dir + "/trace.log");
  ASSERT_TRUE(trace);
  const std::string text(trace->begin(), trace->end());
  EXPECT_EQ(text.substr(0, 27), "0 > 40 0D 00 00 00 00 00 00");
  EXPECT_NE(text.find("> 40 06 00 00 00 68 00 00\n"), std::string::npos);

  // A state file of another kind is not silently taken for this one.
  options.simulate = SimulatedStorage::kI2C;
  EXPECT_FALSE(MakeDeviceLink(options, clock, &error).transport);
  EXPECT_NE(error.find("flash-flash"), std::string::npos);
  std::filesystem::remove_all(dir);
}

TEST(DeviceFactoryTest, WithoutSimulationItListsHidrawNodesOfTheDeviceFolder) {
  DeviceOptions options;
  options.device_dir = ::testing::TempDir() + "/korvex48-no-such-folder";
  std::string error;
  DeviceLink link = MakeDeviceLink(options, DefaultClock(), &error);
  ASSERT_TRUE(link.transport);
  EXPECT_EQ(link.simulated, nullptr);
  EXPECT_EQ(link.transport->CountHidDevices(), 0);
  EXPECT_FALSE(link.transport->OpenDevice(Ids().vendor_id, Ids().product_id));
}

}  // namespace
}  // namespace korvex48
