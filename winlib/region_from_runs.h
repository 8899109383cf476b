#pragma once
// A GDI region made of pixel runs (mask_runs.h), built in one call.
#include <span>

#include "winlib/gdi_object.h"
#include "winlib/mask_runs.h"

// An empty region when there are no runs; nothing only when the system refuses the region.
RegionOwner RegionFromRuns(std::span<const PixelRun> runs);
