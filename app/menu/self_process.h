#pragma once
// The game started again as a process of its own, for each screen of the menu and each run
// chosen there: every run starts from a fresh process exactly as from the command line, and
// ends (Escape, its matches played, a failure) without ending the menu.
#include <string>
#include <vector>

namespace menu {

// Runs this program with `arguments` (argv[1..]) and waits for it; its standard error goes to
// the file `errorFile` as well. The exit code, or -1 after saying why it could not start.
int runSelf(const std::vector<std::string>& arguments, const std::string& errorFile);

}  // namespace menu
