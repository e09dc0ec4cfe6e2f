// Class objects, in-process servers and registry files.

#include "class_registry.h"

#include <dirent.h>
#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <unordered_map>
#include <vector>

#include "zrcom/bstr.h"
#include "zrcom/library_file.h"
#include "zrcom/runtime.h"

namespace zrcom {
namespace {

constexpr const char* kDefaultFunction = "DllGetClassObject";

struct InprocServer {
  std::string library;
  std::string function;
};

struct ClassObject {
  GUID clsid;
  IUnknown* factory;
};

struct Registry {
  std::mutex mutex;
  std::map<DWORD, ClassObject> class_objects;
  DWORD next_cookie = 1;
  std::unordered_map<GUID, InprocServer> code_servers;
  std::unordered_map<GUID, InprocServer> file_servers;
  bool files_read = false;
  std::unordered_map<std::string, void*> libraries;  // dlopen handles by path
};

Registry& TheRegistry() {
  static Registry* registry = new Registry;  // never destroyed: libraries stay loaded
  return *registry;
}

HRESULT Fail(HRESULT hr, const std::string& text) {
  std::u16string description = ZrUtf8ToUtf16(text);
  return ZrSetErrorInfo(hr, description.c_str(), u"COM");
}

std::string FolderOf(const std::string& path) {
  auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string ThisLibraryFolder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&ThisLibraryFolder), &info) && info.dli_fname)
    return FolderOf(info.dli_fname);
  return {};
}

// Splits a registry line into tokens; "double quotes" keep blanks in a path.
std::vector<std::string> Tokens(const std::string& line) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
      ++i;
    } else if (line[i] == '#') {
      break;
    } else if (line[i] == '"') {
      auto end = line.find('"', i + 1);
      if (end == std::string::npos) end = line.size();
      out.push_back(line.substr(i + 1, end - i - 1));
      i = end + 1;
    } else {
      auto end = line.find_first_of(" \t\r", i);
      if (end == std::string::npos) end = line.size();
      out.push_back(line.substr(i, end - i));
      i = end;
    }
  }
  return out;
}

void ReadRegistryFile(const std::string& path, std::unordered_map<GUID, InprocServer>* servers) {
  std::ifstream in(path);
  if (!in) return;
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    auto tokens = Tokens(line);
    if (tokens.empty()) continue;
    GUID clsid{};
    if (tokens.size() < 2 || tokens.size() > 3 || !ZrParseGuid(tokens[0], &clsid)) {
      std::fprintf(stderr, "zrcom: %s:%d: expected \"{CLSID} library [function]\", line ignored\n",
                   path.c_str(), number);
      continue;
    }
    std::string library = tokens[1];
    if (library.front() != '/') library = FolderOf(path) + "/" + library;
    // The first registration of a class wins, as the folders are searched in order.
    servers->emplace(clsid, InprocServer{library, tokens.size() == 3 ? tokens[2] : kDefaultFunction});
  }
}

void ReadRegistryPath(const std::string& path, std::unordered_map<GUID, InprocServer>* servers) {
  DIR* dir = opendir(path.c_str());
  if (!dir) {
    ReadRegistryFile(path, servers);
    return;
  }
  std::vector<std::string> files;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name.size() > 7 && name.compare(name.size() - 7, 7, ".comreg") == 0) files.push_back(path + "/" + name);
  }
  closedir(dir);
  std::sort(files.begin(), files.end());
  for (const auto& file : files) ReadRegistryFile(file, servers);
}

void ReadRegistryFiles(Registry& r) {
  r.file_servers.clear();
  if (const char* list = std::getenv("ZR_COM_REGISTRY")) {
    std::stringstream paths(list);
    std::string path;
    while (std::getline(paths, path, ':'))
      if (!path.empty()) ReadRegistryPath(path, &r.file_servers);
  }
  std::string here = ThisLibraryFolder();
  if (!here.empty()) {
    ReadRegistryPath(here + "/com-registry.d", &r.file_servers);
    ReadRegistryPath(here + "/../share/zrconector/com-registry.d", &r.file_servers);
  }
  r.files_read = true;
}

// Loads the server's library (once) and finds its factory function.
HRESULT FactoryFunction(Registry& r, const InprocServer& server, ZrGetClassObjectFn* fn) {
  void*& handle = r.libraries[server.library];
  if (!handle) {
    if (std::string fault = ZrLibraryFileFault(server.library, "it"); !fault.empty()) {
      r.libraries.erase(server.library);
      return Fail(CO_E_DLLNOTFOUND, "cannot load " + server.library + ": " + fault);
    }
    handle = dlopen(server.library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
      const char* why = dlerror();
      r.libraries.erase(server.library);
      return Fail(CO_E_DLLNOTFOUND, "cannot load " + server.library + ": " + (why ? why : "unknown reason"));
    }
  }
  void* symbol = dlsym(handle, server.function.c_str());
  if (!symbol) return Fail(CO_E_ERRORINDLL, server.library + " has no function " + server.function);
  *fn = reinterpret_cast<ZrGetClassObjectFn>(symbol);
  return S_OK;
}

}  // namespace

HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  Registry& r = TheRegistry();
  IUnknown* factory = nullptr;
  InprocServer server;
  {
    std::lock_guard lock(r.mutex);
    for (auto& [cookie, entry] : r.class_objects) {
      if (entry.clsid == clsid) {
        factory = entry.factory;
        factory->AddRef();
        break;
      }
    }
    if (!factory) {
      auto code = r.code_servers.find(clsid);
      if (code != r.code_servers.end()) {
        server = code->second;
      } else {
        if (!r.files_read) ReadRegistryFiles(r);
        auto file = r.file_servers.find(clsid);
        if (file == r.file_servers.end())
          return Fail(REGDB_E_CLASSNOTREG, "class " + ZrGuidToString(clsid) + " is not registered");
        server = file->second;
      }
    }
  }
  if (factory) {
    HRESULT hr = factory->QueryInterface(iid, object);
    factory->Release();
    return hr;
  }
  ZrGetClassObjectFn fn = nullptr;
  HRESULT hr;
  {
    std::lock_guard lock(r.mutex);
    hr = FactoryFunction(r, server, &fn);
  }
  if (FAILED(hr)) return hr;
  hr = fn(clsid, iid, object);
  if (FAILED(hr) && hr != E_OUTOFMEMORY)
    return Fail(hr, server.library + " does not provide class " + ZrGuidToString(clsid));
  return hr;
}

HRESULT RegisterClassObject(REFCLSID clsid, IUnknown* factory, DWORD* cookie) {
  if (!factory || !cookie) return E_INVALIDARG;
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  factory->AddRef();
  *cookie = r.next_cookie++;
  r.class_objects.emplace(*cookie, ClassObject{clsid, factory});
  return S_OK;
}

HRESULT RevokeClassObject(DWORD cookie) {
  Registry& r = TheRegistry();
  IUnknown* factory = nullptr;
  {
    std::lock_guard lock(r.mutex);
    auto it = r.class_objects.find(cookie);
    if (it == r.class_objects.end()) return E_INVALIDARG;
    factory = it->second.factory;
    r.class_objects.erase(it);
  }
  factory->Release();
  return S_OK;
}

HRESULT RegisterInprocServer(REFCLSID clsid, const char* library, const char* function) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  if (!library) {
    r.code_servers.erase(clsid);
    return S_OK;
  }
  if (!*library) return E_INVALIDARG;
  r.code_servers[clsid] = InprocServer{library, function && *function ? function : kDefaultFunction};
  return S_OK;
}

void ReloadRegistryFiles() {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  ReadRegistryFiles(r);
}

}  // namespace zrcom
