// The main of every GoogleTest program of the project: GoogleTest's own, but
// skipped cases end the program as skipped (see skip_status.h), and a report
// of a shape the mouse was never shown, refused by a strict simulated mouse,
// fails the running test.
#include <gtest/gtest.h>

#include <string_view>

#include "core/device/simulated_mouse.h"
#include "gtest_exit_status.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  korvex48::SimulatedMouse::SetRefusedShapeHook([](std::string_view shape) {
    ADD_FAILURE() << "the simulated mouse refused a report of another shape: " << shape;
  });
  return korvex48::testing::GTestExitStatus(RUN_ALL_TESTS());
}
