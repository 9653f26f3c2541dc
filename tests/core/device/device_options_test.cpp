#include "core/device/device_options.h"

#include <gtest/gtest.h>

#include <map>

namespace korvex48 {
namespace {

TEST(DeviceOptionsTest, TakesItsOptionsAndLeavesTheRest) {
  struct Case {
    std::vector<std::string> args;
    std::map<std::string, std::string> env;
    bool ok;
    std::optional<SimulatedStorage> simulate;
    std::string state, dir, trace;
  };
  const Case cases[] = {
      {{"x", "--simulate"}, {}, true, SimulatedStorage::kI2C, "", "/dev", ""},
      {{"--simulate=flash-flash:/tmp/m.state", "x"},
       {},
       true,
       SimulatedStorage::kFlashFlash,
       "/tmp/m.state",
       "/dev",
       ""},
      {{"--simulate=flash-i2c"}, {}, true, SimulatedStorage::kFlashI2C, "", "/dev", ""},
      {{"--device-dir", "/run/h", "x", "--trace=t.log"},
       {},
       true,
       std::nullopt,
       "",
       "/run/h",
       "t.log"},
      {{"x"},
       {{"KORVEX48_DEVICE_DIR", "/env/dir"}, {"KORVEX48_TRACE", "env.log"}},
       true,
       std::nullopt,
       "",
       "/env/dir",
       "env.log"},
      {{"--device-dir=/cli", "--trace", "cli.log"},
       {{"KORVEX48_DEVICE_DIR", "/env/dir"}, {"KORVEX48_TRACE", "env.log"}},
       true,
       std::nullopt,
       "",
       "/cli",
       "cli.log"},
      {{"--simulate=usb"}, {}, false, std::nullopt, "", "/dev", ""},
      {{"--simulate=i2c:"}, {}, false, std::nullopt, "", "/dev", ""},
      {{"--device-dir"}, {}, false, std::nullopt, "", "/dev", ""},
      {{"--trace="}, {}, false, std::nullopt, "", "/dev", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.front());
    std::vector<std::string> args = c.args;
    DeviceOptions options;
    std::string error;
    auto env = [&c](const char* name) -> const char* {
      auto it = c.env.find(name);
      return it == c.env.end() ? nullptr : it->second.c_str();
    };
    ASSERT_EQ(ParseDeviceOptions(args, &options, &error, env), c.ok) << error;
    if (!c.ok) {
      EXPECT_FALSE(error.empty());
      continue;
    }
    EXPECT_EQ(options.simulate, c.simulate);
    EXPECT_EQ(options.simulate_state_file, c.state);
    EXPECT_EQ(options.device_dir, c.dir);
    EXPECT_EQ(options.trace_file, c.trace);
    std::vector<std::string> rest;
    for (const std::string& a : c.args)
      if (a == "x") rest.push_back(a);
    EXPECT_EQ(args, rest);
  }
}

}  // namespace
}  // namespace korvex48
