#pragma once
// The desktop settings of the running session the pointer bars reach, made
// from the choice of the core (XDG_CURRENT_DESKTOP, XDG_SESSION_TYPE, DISPLAY).
#include <memory>
#include <vector>

#include "core/pointer/desktop_choice.h"
#include "core/pointer/desktop_pointer.h"

namespace korvex48 {

std::vector<std::unique_ptr<DesktopPointer>> MakeDesktopPointers(
    const std::vector<DesktopKind>& kinds);
// The kinds this session asks for, from the environment.
std::vector<DesktopKind> SessionDesktopKinds();

}  // namespace korvex48
