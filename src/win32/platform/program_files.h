// Where the program's own files (the firework sounds, the manual) lie: beside the program, as the
// build leaves them, or in the folder the setup program installed them into while the program
// itself went to System32, where Windows lists its savers.
#pragma once

#include <string>
#include <string_view>

namespace qsrn {

// The running program's full path (UTF-8).
std::string ProgramPath();
// The folder the setup program installed into (its entry in the program list), or "".
std::string InstalledFolder();
// The folder (no trailing separator) holding fileName: the program's own, else the installed
// one; "" when neither does.
std::string FolderHolding(const std::string& programPath, std::string_view fileName);
// True for a file that exists (not a folder).
bool IsFile(const std::string& path);

}  // namespace qsrn
