#include "drawing_path.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

const char* const kStandardInputName = "stdin";

namespace {

// Absolute, normalised and, as far as the path exists, with its links
// followed; the lexical form when the file system cannot say more.
fs::path resolve(const fs::path& path, const fs::path& against) {
  const fs::path absolute = path.is_absolute() ? path : against / path;
  std::error_code ec;
  fs::path real = fs::weakly_canonical(absolute, ec);
  if (ec) real = absolute;
  return real.lexically_normal();
}

fs::path workingFolder() {
  std::error_code ec;
  fs::path cwd = fs::current_path(ec);
  return ec ? fs::path("/") : resolve(cwd, "/");
}

bool isStandardInput(const std::string& path) { return path == "-"; }

}  // namespace

std::string resolvedDrawingPath(const std::string& path) {
  if (isStandardInput(path)) return path;
  return resolve(path, workingFolder()).generic_string();
}

std::string normalisedDrawingPath(const std::string& path, const std::string& base) {
  if (isStandardInput(path)) return kStandardInputName;
  const fs::path cwd = workingFolder();
  const fs::path resolved = resolve(path, cwd);
  const fs::path folder = base.empty() ? cwd : resolve(base, cwd);
  const fs::path relative = resolved.lexically_relative(folder);
  // Below the folder: relative; elsewhere (or on another root) absolute.
  if (relative.empty() || *relative.begin() == "..") return resolved.generic_string();
  return relative.generic_string();
}

bool namesDrawing(const std::string& named, const std::string& fileFolder, const std::string& resolved) {
  if (named.empty()) return false;
  if (isStandardInput(resolved)) return isStandardInput(named) || named == kStandardInputName;
  if (isStandardInput(named)) return false;
  const fs::path cwd = workingFolder();
  if (resolve(named, cwd).generic_string() == resolved) return true;
  return !fs::path(named).is_absolute() && !fileFolder.empty() &&
         resolve(named, fileFolder).generic_string() == resolved;
}

std::string folderOf(const std::string& file) {
  if (isStandardInput(file)) return {};
  return resolve(file, workingFolder()).parent_path().generic_string();
}
