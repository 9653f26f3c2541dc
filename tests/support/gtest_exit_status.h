#pragma once
// The end of a GoogleTest program under the rules of skip_status.h.
#include <gtest/gtest.h>

#include "skip_status.h"

namespace korvex48::testing {

// The exit status of a GoogleTest program whose RUN_ALL_TESTS() returned
// `status` (non-zero also when the program itself failed outside a case).
inline int GTestExitStatus(int status) {
  const ::testing::UnitTest& unit = *::testing::UnitTest::GetInstance();
  if (status != 0) return status;
  return ExitStatus(unit.failed_test_count(), unit.test_to_run_count(), unit.skipped_test_count());
}

}  // namespace korvex48::testing
