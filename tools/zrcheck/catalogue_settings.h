#pragma once
// Settings that point a program at one catalogue file: a temporary settings
// folder with "<program>.ini", put first in ZR_SETTINGS_DIR, removed with the
// object.

#include <string>

class CatalogueSettings {
 public:
  // Throws std::runtime_error when the file does not exist or the folder
  // cannot be made.
  CatalogueSettings(const std::string& program, const std::string& catalogueFile);
  ~CatalogueSettings();
  CatalogueSettings(const CatalogueSettings&) = delete;
  CatalogueSettings& operator=(const CatalogueSettings&) = delete;

  // The temporary settings folder.
  const std::string& folder() const { return folder_; }

 private:
  std::string folder_;
};
