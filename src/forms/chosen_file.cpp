// The file dialog's checks; see chosen_file.h.
#include "forms/chosen_file.h"

#include <filesystem>
#include <system_error>

#include "settings/file_system.h"

namespace qsrn {

ChosenFile CheckChosenFile(bool open, std::string path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (open) {
    if (!fs::is_regular_file(files::PathFromUtf8(path), ec))
      return {std::move(path), "Please select an existing file."};
    return {std::move(path), {}};
  }
  // Only the file's own name counts: a dot in a folder's name gives it no extension.
  if (files::PathFromUtf8(path).filename().native().find('.') == fs::path::string_type::npos) path += ".qsn";
  const fs::path file = files::PathFromUtf8(path);
  if (!file.has_filename() || fs::is_directory(file, ec) || !fs::is_directory(file.parent_path(), ec) ||
      !files::TakesNewFile(file.parent_path()))
    return {std::move(path), "Please enter a valid path and file."};
  return {std::move(path), {}};
}

}  // namespace qsrn
