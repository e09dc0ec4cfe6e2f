#include "catalogue_choice.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "zrdwg/OdString.h"
#include "prmset/prmset.h"
#include "prmset/settings_folders.h"
#include "support/ComponentSupport.h"

namespace fs = std::filesystem;

namespace {

std::string utf8(const _bstr_t& text) {
  const char16_t* s = text;
  return s ? OdString(s).toUtf8() : std::string();
}

std::string valueOf(IZrSettingsItemPtr item) { return item ? utf8(item->GetValue()) : std::string(); }

bool sameFolder(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  return fs::equivalent(a, b, ec);
}

std::string listed(const std::vector<std::string>& folders) {
  std::string out;
  for (const std::string& f : folders) out += "\n  " + f;
  return out.empty() ? "\n  (no folder: ZR_SETTINGS_DIR, HOME and XDG_CONFIG_HOME are all unset)" : out;
}

}  // namespace

std::vector<std::string> checkerSettingsFolders(const std::optional<std::string>& settingsDir) {
  if (settingsDir) return {*settingsDir};
  return prmset::UserSettingsFolders();
}

CatalogueChoice chooseCatalogue(const std::string& program, const std::vector<std::string>& folders) {
  std::string joined;
  for (const std::string& f : folders) joined += (joined.empty() ? "" : ":") + f;
  ::setenv("ZR_SETTINGS_DIR", joined.c_str(), 1);

  CoInitialize(nullptr);  // as the module's Open does, on this (the only) thread
  IZrSettingsPtr settings = CreateComponent<IZrSettings>(CLSID_ZrSettings);
  if (!settings) {
    throw std::runtime_error("the settings component (libprmset.so) could not be created: " +
                             CString(TakeErrorDescription()).ToUtf8());
  }
  const bool loaded = settings->Load(_bstr_t(OdString::fromUtf8(program).c_str())) == VARIANT_TRUE;
  const std::string file = utf8(settings->GetSettingsFile());
  // The component goes on to the installed examples; those never stand in
  // for the settings a pipeline did not give.
  bool ours = false;
  for (const std::string& folder : folders) ours = ours || (!file.empty() && sameFolder(fs::path(file).parent_path(), folder));
  if (!loaded && ours) throw std::runtime_error("the settings cannot be used: " + utf8(settings->GetLoadError()));
  if (!loaded || !ours) {
    throw std::runtime_error("no settings file " + program + ".ini (give --catalogue FILE or --settings DIR); looked in:" +
                             listed(folders));
  }

  CatalogueChoice choice;
  choice.settingsFile = fs::absolute(file).lexically_normal().string();
  struct stat info {};
  if (!valueOf(settings->GetPassword()).empty() && ::stat(file.c_str(), &info) == 0 && (info.st_mode & S_IROTH))
    choice.warning = "the settings file " + choice.settingsFile +
                     " holds a password and every user can read it (chmod 600 it, or keep the password in "
                     "~/.pgpass; see docs/catalogue.md)";
  const std::string name = valueOf(settings->GetDatabaseName());
  if (valueOf(settings->GetDatabaseType()) == "MDB") {
    // Joined as the module joins them: the folder keeps its own separator.
    const std::string path = valueOf(settings->GetDataFolder()) + name;
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
      throw std::runtime_error("the catalogue file " + path + " named by " + choice.settingsFile +
                               (fs::is_directory(path, ec) ? " is a folder" : " does not exist"));
    choice.catalogue = fs::absolute(path).lexically_normal().string();
    choice.file = choice.catalogue;
  } else {
    choice.server = true;
    choice.address = valueOf(settings->GetServer());
    choice.database = name;
    choice.catalogue = "database " + name + " on server " + valueOf(settings->GetServer());
  }
  return choice;
}
