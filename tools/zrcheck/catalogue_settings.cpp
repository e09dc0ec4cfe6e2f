#include "catalogue_settings.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

CatalogueSettings::CatalogueSettings(const std::string& program, const std::string& catalogueFile) {
  std::error_code ec;
  fs::path file = fs::absolute(catalogueFile, ec);
  if (ec || !fs::exists(file)) throw std::runtime_error("the catalogue file " + catalogueFile + " does not exist");
  if (!fs::is_regular_file(file)) throw std::runtime_error("the catalogue " + catalogueFile + " is not a file");
  std::string pattern = (fs::temp_directory_path() / "zrcheck.XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a settings folder");
  folder_ = pattern;
  std::ofstream ini(fs::path(folder_) / (program + ".ini"));
  // The folder keeps its trailing separator: the module joins folder and name as they are.
  ini << "[database]\n"
      << "data_folder = " << file.parent_path().string() << "/\n"
      << "type = MDB\n"
      << "name = " << file.filename().string() << "\n";
  if (!ini) throw std::runtime_error("cannot write the settings folder " + folder_);
  const char* previous = std::getenv("ZR_SETTINGS_DIR");
  std::string dirs = folder_;
  if (previous && *previous) dirs += std::string(":") + previous;
  ::setenv("ZR_SETTINGS_DIR", dirs.c_str(), 1);
}

CatalogueSettings::~CatalogueSettings() {
  std::error_code ec;
  fs::remove_all(folder_, ec);
}
