// The checks of the configuration dialogs' file dialog, for any toolkit, before it closes on a
// name the user confirmed:
//  - open: the file must exist;
//  - save: ".qsn" is appended to a file name without a dot, and the folder must take a new file
//    (probed with a file of our own, never the chosen one, which may be a template to replace).
// Usage:
//   const ChosenFile chosen = CheckChosenFile(false, "/home/me/look");   // ".../look.qsn"
//   if (!chosen.refusal.empty()) Exclaim(chosen.refusal); else Save(chosen.path);
#pragma once

#include <string>
#include <string_view>

namespace qsrn {

struct ChosenFile {
  std::string path;            // the full path (UTF-8) to use
  std::string_view refusal;    // the sentence for the user when the name is refused; empty when accepted
};

// path: a full path (UTF-8) as the dialog confirmed it.
ChosenFile CheckChosenFile(bool open, std::string path);

}  // namespace qsrn
