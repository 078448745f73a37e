// The archive shipped as examples/sample.rez: made entirely by code, so the
// project carries no game data. A top-level CLAW folder with a palette, a few
// pictures, sounds and texts lets newcomers try every part of the program.
#pragma once

#include "support/RezBuilder.h"

namespace rezbuild {

Node SampleArchive();
// examples/retail-sample.rez, written in the retail layout: a GRUNTZ tree with
// its palette in PALETTEZ and skip-coded frames that fill with the colour key.
Node RetailSampleArchive();

}  // namespace rezbuild
