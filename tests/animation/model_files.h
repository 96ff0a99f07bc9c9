#pragma once
// Scratch folders, working-directory switches and model files for the animation tests.
#include <string>

#include "animation/filreader.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/working_folder.h"

// In memory: the fuzz tests rewrite files thousands of times.
class TempDir : public testsupport::ScratchFolder {
public:
    TempDir() : ScratchFolder("animation", Storage::Memory) {}
};

using WorkingDir = testsupport::WorkingFolder;

Model readModel(const std::string& path);

// The 18 keyframe file names the moves are built from.
extern const char* const KEYFRAME_FILES[18];
