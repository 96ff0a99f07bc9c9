// Running a command line of the tools' tests and collecting what it prints.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include <sys/wait.h>

namespace toolstest {

struct ToolRun {
    int status = -1;     // the exit code; -1 when it did not exit normally
    std::string output;  // its standard output (add " 2>&1" to the command for the errors)
};

inline ToolRun runTool(const std::string& command) {
    ToolRun result;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe) return result;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0)
        result.output.append(buffer, n);
    const int raw = ::pclose(pipe.release());
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return result;
}

}  // namespace toolstest
