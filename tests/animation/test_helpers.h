#pragma once
// Temporary folders and working-directory switches for the animation tests.
#include <string>

#include "animation/filreader.h"

// A fresh temporary folder, removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& path() const { return dir; }
    std::string file(const std::string& name) const { return dir + "/" + name; }
    void write(const std::string& name, const std::string& contents) const;

private:
    std::string dir;
};

// Runs the enclosing scope with `dir` as working directory (the game reads its data there).
class WorkingDir {
public:
    explicit WorkingDir(const std::string& dir);
    ~WorkingDir();

private:
    std::string previous;
};

Model readModel(const std::string& path);

// The 18 keyframe file names the moves are built from.
extern const char* const KEYFRAME_FILES[18];
