// The main of every GoogleTest program of the project: GoogleTest's own, but
// skipped cases end the program as skipped (see skip_status.h).
#include <gtest/gtest.h>

#include "gtest_exit_status.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  return korvex48::testing::GTestExitStatus(RUN_ALL_TESTS());
}
