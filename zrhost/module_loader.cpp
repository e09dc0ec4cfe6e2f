#include "module_loader.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "zrcom/library_file.h"

namespace zrhost {

namespace {
constexpr const char* kModuleFile = "libzrconector.so";
// The module interface version this host implements; a module of another
// major version lays out its objects differently.
constexpr int32_t kApiMajor = 3;
}  // namespace

std::string programFolder() {
  std::error_code error;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string(".") : exe.parent_path().string();
}

std::vector<std::string> moduleCandidates(const std::string& exeDir) {
  std::vector<std::string> candidates;
  const std::filesystem::path dir(exeDir);
  candidates.push_back((dir / kModuleFile).string());
  candidates.push_back((dir / ".." / "lib" / kModuleFile).lexically_normal().string());
  // Installed, and in the build tree: the libraries are private to the package.
  candidates.push_back((dir / ".." / "lib" / "zrconector" / kModuleFile).lexically_normal().string());
  return candidates;
}

std::string findModule(const std::string& exeDir) {
  // A module named by the environment is used as named: if it is missing,
  // loading says so instead of quietly taking another.
  if (const char* env = std::getenv("ZRHOST_MODULE"); env && *env) return env;
  std::string tried;
  for (const std::string& candidate : moduleCandidates(exeDir)) {
    std::error_code error;
    if (std::filesystem::is_regular_file(candidate, error)) return candidate;
    tried += "\n  " + candidate;
  }
  throw ModuleLoadError("no module file found (give one with --module or $ZRHOST_MODULE); looked at:" + tried);
}

LoadedModule::LoadedModule(const std::string& path) : path_(path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) throw ModuleLoadError("module file " + path + " does not exist");
  // A library cut short would fault inside the dynamic loader: refuse it first.
  if (std::string fault = ZrLibraryFileFault(path, "module " + path); !fault.empty()) throw ModuleLoadError(fault);
  // A path without a slash would make dlopen search the library path instead.
  const std::string openPath = path.find('/') == std::string::npos ? "./" + path : path;
  library_ = dlopen(openPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library_) {
    const char* why = dlerror();
    throw ModuleLoadError("cannot load module " + path + ": " + (why ? why : "unknown reason"));
  }
  create_ = reinterpret_cast<OdRxCreateModuleFn>(dlsym(library_, "odrxCreateModuleObject"));
  auto version = reinterpret_cast<OdRxGetApiVersionFn>(dlsym(library_, "odrxGetAPIVersion"));
  std::string missing;
  if (!create_) missing += " odrxCreateModuleObject";
  if (!version) missing += " odrxGetAPIVersion";
  // A library refused here is unloaded again: the host keeps nothing of it.
  auto refuse = [&](const std::string& why) {
    dlclose(library_);
    library_ = nullptr;
    throw ModuleLoadError(why);
  };
  if (!missing.empty()) refuse("module " + path + " does not export" + missing);
  version(&version_[0], &version_[1], &version_[2], &version_[3]);
  if (version_[0] != kApiMajor)
    refuse("module " + path + " declares module interface version " + std::to_string(version_[0]) +
                          "." + std::to_string(version_[1]) + "." + std::to_string(version_[2]) + "." +
                          std::to_string(version_[3]) + "; this host speaks version " + std::to_string(kApiMajor));
}

LoadedModule::~LoadedModule() {
  try {
    shutdown();
  } catch (...) {
    // A failing module must not take the host down while it exits.
  }
}

void LoadedModule::initialise() {
  if (object_) return;
  void* handle = library_;
  OdRxModule* object = create_(&handle);
  if (!object) throw ModuleLoadError("module " + path_ + " did not create its module object");
  object_ = object;
  object_->initApp();
}

void LoadedModule::shutdown() {
  OdRxModule* object = object_;
  if (!object) return;
  object_ = nullptr;
  object->uninitApp();
  object->deleteModule();
}

}  // namespace zrhost
