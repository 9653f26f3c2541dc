#pragma once
// Places the main window's controls by a layout table (org1..org3) and the
// product settings: positions, the sizes that follow pictures, visibility of
// optional buttons, font sizes and colours. Applying a layout changes only
// the look, never the image or the mouse; it is applied again at every
// language change, so every control named in the table returns to its place.
#include "core/ui/layout_table.h"
#include "core/ui/settings_table.h"

namespace korvex48::gui {

class ControlIndex;

// Applies `layout` to the controls of `controls`. Controls the index does not
// hold are skipped, so a window with fewer pages still gets a layout.
// Positions are window coordinates, also for the controls inside the boxes
// Gb_Delay and Gb_Insert.
void ApplyLayout(const LayoutTable& layout, const ProductSettings& settings,
                 const ControlIndex& controls);

}  // namespace korvex48::gui
