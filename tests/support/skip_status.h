#pragma once
// How a test program ends when some of its cases could not run on this
// machine (no /dev/fuse, no GSettings schema, no X server): ctest must report
// it as skipped, never as passed, and a CI run (CI=true) must fail on it,
// since there every environment a test needs is meant to be present.
//
// GoogleTest and QtTest end with status 0 when cases were skipped; every
// test program ends through ExitStatus instead (GoogleTest programs through
// GTestExitStatus, gtest_exit_status.h), and its ctest entries carry
// SKIP_RETURN_CODE kSkippedStatus (korvex48_add_gtest in tests/CMakeLists.txt).
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace korvex48::testing {

// The status ctest's SKIP_RETURN_CODE names, as the shell tests use it too
// (tests/support/skip.sh).
inline constexpr int kSkippedStatus = 77;

// True in a CI run (CI=true or CI=1): a test that cannot run is a failure.
inline bool SkipsFail() {
  const char* ci = std::getenv("CI");
  if (!ci) return false;
  const std::string_view value(ci);
  return value == "true" || value == "1";
}

// The exit status of a test program that ran `selected` cases, of which
// `failed` failed and `skipped` could not run: failures fail; selecting no
// case fails (a filter naming a renamed test would otherwise pass unseen);
// skipped cases make kSkippedStatus, or a failure under CI=true.
inline int ExitStatus(int failed, int selected, int skipped) {
  if (failed > 0) return 1;
  if (selected == 0) {
    std::fprintf(stderr, "no test case was selected: the filter names none\n");
    return 1;
  }
  if (skipped == 0) return 0;
  if (SkipsFail()) {
    std::fprintf(stderr,
                 "%d test case(s) could not run here; under CI=true a case that cannot run "
                 "fails the run\n",
                 skipped);
    return 1;
  }
  return kSkippedStatus;
}

}  // namespace korvex48::testing
