#pragma once
// The self-upgrade hand-over: a downloaded copy of the program, started with
// the old process id and the install folder, ends the old process, copies its
// listed files over the installation and starts the installed program.

#include <string>
#include <vector>

// The program file inside a program folder.
constexpr const char *ProgramFileName = "orvane";

// Arguments the running program passes to the upgrade copy.
std::vector<std::string> UpgradeArguments(int processId, const std::string &appPath);

// Install mode: `args` are the command-line arguments without the program
// name. Returns true when the installed program was started.
bool InstallUpgrade(const std::vector<std::string> &args);

// Copies what the list file source + listName + ".txt" names from `source`
// to `target`: a line ending in "/" (or "\") is a folder to create, any other
// non-empty line a file to copy. True when every line was done; a missing
// list counts as done. Paths that could leave the target fail.
bool CopyListedFiles(const std::string &source, const std::string &target, const std::string &listName);
