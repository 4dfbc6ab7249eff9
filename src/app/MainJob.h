// The program's main job: the module loaded and unloaded as the host does, and the library listed.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kxapp {

// Folder of the running program (where libkestra_ss.so is built beside it).
std::filesystem::path programFolder(const char* argv0);

// The files of the library folder, relative to it, sorted; folders are walked recursively.
std::vector<std::string> listLibrary(const std::filesystem::path& folder);

// Returns the process exit code.
int runMainJob(const char* argv0);

} // namespace kxapp
