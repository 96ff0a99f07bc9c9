// Drawing the frames of a clip.
#pragma once

#include "tools/clipgen/script.h"
#include "tools/clipgen/y4m_writer.h"

namespace clipgen {

// Draws frame `frame` of the clip, `step` frames into `segment`.
void drawFrame(const Segment& segment, int step, long frame, unsigned seed, Picture& picture);

// True when every background pixel stays at or below the frame's mean grey level with a
// level to spare and every hand pixel above it: what a mean-threshold mask needs to see the
// hands and nothing else.
bool handsStandOut(const Picture& picture);

}  // namespace clipgen
