// The game reads its files from the working directory: tests that load them switch into a
// folder for a scope and must put the process back wherever the scope ends.
#pragma once

#include <filesystem>
#include <string>

namespace testsupport {

// Runs the enclosing scope with `folder` as working directory. Throws (the test fails,
// naming the folder) when it cannot be entered.
class WorkingFolder {
public:
    explicit WorkingFolder(const std::string& folder) : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~WorkingFolder() {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
    }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

private:
    std::filesystem::path previous_;
};

}  // namespace testsupport
