#include "module_loader.h"

#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace zrhost {

namespace {
constexpr const char* kModuleFile = "libzrconector.so";
// The module interface version this host implements; a module of another
// major version lays out its objects differently.
constexpr int32_t kApiMajor = 3;
// Checks that the file can be read and, when it is a 64-bit ELF file, that
// it holds every byte its headers point at. The dynamic loader maps a library
// without looking at its size: a library cut short (an interrupted copy) would
// fault with SIGBUS when the loader touches the missing part, taking the host
// down. Other files are left to dlopen, which refuses them with a reason.
void checkLibraryFile(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw ModuleLoadError("cannot read module " + path + ": " + std::strerror(errno));
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat st;
  if (::fstat(fd, &st) != 0) throw ModuleLoadError("cannot read module " + path + ": " + std::strerror(errno));
  if (S_ISDIR(st.st_mode)) throw ModuleLoadError("module " + path + " is a folder, not a library");
  if (!S_ISREG(st.st_mode)) throw ModuleLoadError("module " + path + " is not a regular file");
  const auto size = static_cast<uint64_t>(st.st_size);
  auto damaged = [&](uint64_t needed) {
    return ModuleLoadError("module " + path + " is truncated or damaged: it holds " + std::to_string(size) +
                           " bytes, its headers need " + std::to_string(needed));
  };

  Elf64_Ehdr header;
  const ssize_t got = ::pread(fd, &header, sizeof header, 0);
  if (got < 0) throw ModuleLoadError("cannot read module " + path + ": " + std::strerror(errno));
  if (got < static_cast<ssize_t>(EI_NIDENT) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
      header.e_ident[EI_CLASS] != ELFCLASS64)
    return;  // not a library of this machine: dlopen says so
  if (got < static_cast<ssize_t>(sizeof header)) throw damaged(sizeof header);

  // Sums in 64 bits of 16- and 32-bit counts cannot overflow; offsets are
  // compared before they are added to.
  auto tableEnd = [](uint64_t offset, uint64_t count, uint64_t entry) {
    return offset > (uint64_t{1} << 62) ? UINT64_MAX : offset + count * entry;
  };
  uint64_t needed = std::max<uint64_t>(tableEnd(header.e_phoff, header.e_phnum, header.e_phentsize),
                                       tableEnd(header.e_shoff, header.e_shnum, header.e_shentsize));
  if (needed > size) throw damaged(needed);
  if (header.e_phentsize != sizeof(Elf64_Phdr)) return;
  for (unsigned i = 0; i < header.e_phnum; ++i) {
    Elf64_Phdr segment;
    if (::pread(fd, &segment, sizeof segment, static_cast<off_t>(header.e_phoff + i * sizeof segment)) !=
        static_cast<ssize_t>(sizeof segment))
      throw damaged(needed);
    if (segment.p_type != PT_LOAD && segment.p_type != PT_DYNAMIC) continue;
    needed = std::max(needed, tableEnd(segment.p_offset, 1, segment.p_filesz));
  }
  if (needed > size) throw damaged(needed);
}

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
  candidates.push_back((dir / ".." / "zrconector" / kModuleFile).lexically_normal().string());
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
  checkLibraryFile(path);
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
