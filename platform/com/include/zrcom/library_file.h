#pragma once
// Checks a shared library file before it is handed to dlopen.
//
// The dynamic loader maps a library without looking at its size: a library
// cut short (an interrupted copy or install) faults with SIGBUS when the
// loader touches the missing part, taking the whole process down. The host's
// module and the COM servers are both loaded this way, so both ask first.

#include <string>

// Why the file at path must not be loaded, or the empty text when dlopen may
// try it. `name` is how the reason calls the file ("module x.so", "it"):
//   "cannot read <name>: <system reason>"
//   "<name> is a folder, not a library"
//   "<name> is not a regular file"
//   "<name> is truncated or damaged: it holds N bytes, its headers need M"
// Files that are not 64-bit ELF files pass: dlopen refuses them with a reason
// of its own.
std::string ZrLibraryFileFault(const std::string& path, const std::string& name);
