// korvex48ctl doctor through the kernel: the FUSE test device serves the
// mouse's nodes among unrelated ones, and each fault a first plug-in meets
// is named with its fix, without a report that writes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <memory>

#include "backends/hidraw/hidraw_backend.h"
#include "cli_fuse_fixture.h"
#include "core/device/transport.h"
#include "core/image/default_image.h"
#include "json_value.h"

namespace korvex48::testing {
namespace {

using CliDoctor = CliFuseFixture;

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Three unrelated interfaces, then the mouse's boot, consumer and
// configuration interfaces: the configuration interface is hidraw5.
TEST_F(CliDoctor, NamesTheMouseAmongDecoysAndReportsItUsable) {
  Serve(SimulatedStorage::kI2C, 3);
  if (IsSkipped()) return;
  const std::string node = mount->Dir() + "/hidraw5";
  const CliRun run = rig.Run({"doctor", "--report", rig.Path("report.txt")});
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_TRUE(Has(run.out,
                  "ok          hidraw nodes: 6 found; the mouse's configuration "
                  "interface is " +
                      node + "\n"))
      << run.out;
  EXPECT_TRUE(Has(run.out, mount->Dir() + "/hidraw0: passed over: ")) << run.out;
  EXPECT_TRUE(Has(run.out, mount->Dir() + "/hidraw3: passed over: ")) << run.out;
  EXPECT_TRUE(Has(run.out, "ok          customer identifier: 0xFF 0xFF, accepted")) << run.out;
  EXPECT_FALSE(Has(run.out, "problem")) << run.out;
  EXPECT_TRUE(run.writes.empty());  // reads only

  const std::string report = ReadText(rig.Path("report.txt"));
  EXPECT_TRUE(Has(report, "hidraw nodes: 6 found")) << report;
  EXPECT_TRUE(Has(report, " > 40 0D 00 00 00 00 00 00")) << report;  // the probe, traced
  EXPECT_TRUE(Has(run.err, "the report is in " + rig.Path("report.txt"))) << run.err;

  const CliRun json = rig.Run({"--json", "doctor"});
  EXPECT_EQ(json.status, 0);
  const Json doc = Json::Parse(json.out);
  EXPECT_TRUE(doc["usable"].boolean);
  EXPECT_TRUE(json.writes.empty());
  ASSERT_GE(doc["checks"].items.size(), 9u);
  for (const Json& check : doc["checks"].items) {
    SCOPED_TRACE(check["name"].text);
    EXPECT_EQ(check["state"].text, "ok");
  }
}

// Each fault ends in exit 1 with the check that names it and its fix.
TEST_F(CliDoctor, NamesWhatKeepsTheMouseFromBeingUsed) {
  ImageHead head{};
  ReadDefaultHead(head);
  const DefaultIdentifiers ids = DefaultIdentifiersOf(head);
  struct Case {
    const char* name;
    std::function<void(FuseMount&)> fault;
    std::vector<std::string> says;
  };
  // Another program, in this one: the backend outlives its transport.
  std::unique_ptr<HidrawBackend> holder_backend;
  std::unique_ptr<Transport> holder;
  const Case cases[] = {
      {"the node may not be opened",
       [](FuseMount& m) { ASSERT_TRUE(m.Control("open-error 13")); },
       {"problem     access: no permission to open ", "udev rule", "70-korvex48.rules"}},
      {"a foreign customer identifier",
       [](FuseMount& m) {
         auto state = m.ReadState();
         ASSERT_TRUE(state);
         const std::size_t memory = state->size() - 0x10000;
         (*state)[memory + 249] = 0x12;
         (*state)[memory + 250] = 0x34;
         ASSERT_TRUE(m.WriteState(*state));
       },
       {"problem     customer identifier: 0x12 0x34 is not one this program accepts"}},
      {"another program holds the mouse",
       [&](FuseMount& m) {
         holder_backend = std::make_unique<HidrawBackend>(m.Dir());
         holder = std::make_unique<Transport>(*holder_backend);
         ASSERT_TRUE(holder->OpenDevice(ids.vendor_id, ids.product_id));
       },
       {"problem     holder: the mouse is in use by test_cli (pid " + std::to_string(::getpid()) +
        ")"}},
      {"no mouse plugged in",
       [](FuseMount& m) { ASSERT_TRUE(m.Control("unplug")); },
       {"problem     hidraw nodes: 2 found; none is the Korvex48 mouse"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    holder.reset();
    holder_backend.reset();
    Serve(SimulatedStorage::kI2C, 2);
    if (IsSkipped()) return;
    c.fault(*mount);
    const CliRun run = rig.Run({"doctor"});
    EXPECT_EQ(run.status, 1) << run.out << run.err;
    for (const std::string& part : c.says) EXPECT_TRUE(Has(run.out, part)) << run.out;
    EXPECT_TRUE(Has(run.out, "The mouse is not usable")) << run.out;
    EXPECT_TRUE(run.writes.empty());
  }
}

}  // namespace
}  // namespace korvex48::testing
