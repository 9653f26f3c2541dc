#pragma once
// The differences between two configurations in readable lines, in the terms
// of the text form: "profile 1 button 5: Right Key -> Middle Key",
// "dpi level 3: 1600 -> 2400". The order is that of the document.
#include <string>
#include <vector>

#include "core/config/configuration.h"

namespace korvex48 {

// One line per difference, `from` on the left; empty when they are equal.
std::vector<std::string> ConfigurationDifferences(const Configuration& from,
                                                  const Configuration& to);

}  // namespace korvex48
