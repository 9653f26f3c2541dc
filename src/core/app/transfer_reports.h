#pragma once
// How often the whole-image flows of AppCore show the busy pop-up (once as
// they start, then once per report they send or receive), so that a front end
// can show their progress without knowing the protocol. They follow the
// transfers the flows make and the command set's chunking.
#include "core/image/config_image.h"

namespace korvex48 {

// The whole-image read: both sections and the macro storage of `layout`.
int WholeImageReadReports(StorageLayout layout);
// A whole-image write of a profile file taken in: both sections, the
// customer identifier and the macro storage of `layout` (a reset shows the
// pop-up once more as it takes up the defaults).
int WholeImageWriteReports(StorageLayout layout);
// A device macro save: the profile section and the macro storage of `layout`.
int MacroSaveReports(StorageLayout layout);
// Programming a firmware patch: the patch code and its descriptor (the read
// after the mouse is found again is a whole-image read of its own).
int FirmwareReports();

}  // namespace korvex48
