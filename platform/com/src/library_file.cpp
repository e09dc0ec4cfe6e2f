#include "zrcom/library_file.h"

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace {

struct FileCloser {
  int fd;
  ~FileCloser() { ::close(fd); }
};

// End of a table of count entries at offset; sums of 16- and 32-bit counts in
// 64 bits cannot overflow once the offset is bounded.
uint64_t TableEnd(uint64_t offset, uint64_t count, uint64_t entry) {
  return offset > (uint64_t{1} << 62) ? UINT64_MAX : offset + count * entry;
}

}  // namespace

std::string ZrLibraryFileFault(const std::string& path, const std::string& named) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return "cannot read " + named + ": " + std::strerror(errno);
  FileCloser closer{fd};
  struct stat st;
  if (::fstat(fd, &st) != 0) return "cannot read " + named + ": " + std::strerror(errno);
  if (S_ISDIR(st.st_mode)) return named + " is a folder, not a library";
  if (!S_ISREG(st.st_mode)) return named + " is not a regular file";
  const auto size = static_cast<uint64_t>(st.st_size);
  auto damaged = [&](uint64_t needed) {
    return named + " is truncated or damaged: it holds " + std::to_string(size) + " bytes, its headers need " +
           std::to_string(needed);
  };

  Elf64_Ehdr header;
  const ssize_t got = ::pread(fd, &header, sizeof header, 0);
  if (got < 0) return "cannot read " + named + ": " + std::strerror(errno);
  if (got < static_cast<ssize_t>(EI_NIDENT) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
      header.e_ident[EI_CLASS] != ELFCLASS64)
    return {};  // not a library of this machine: dlopen says so
  if (got < static_cast<ssize_t>(sizeof header)) return damaged(sizeof header);

  uint64_t needed = std::max(TableEnd(header.e_phoff, header.e_phnum, header.e_phentsize),
                             TableEnd(header.e_shoff, header.e_shnum, header.e_shentsize));
  if (needed > size) return damaged(needed);
  if (header.e_phentsize != sizeof(Elf64_Phdr)) return {};
  for (unsigned i = 0; i < header.e_phnum; ++i) {
    Elf64_Phdr segment;
    if (::pread(fd, &segment, sizeof segment, static_cast<off_t>(header.e_phoff + i * sizeof segment)) !=
        static_cast<ssize_t>(sizeof segment))
      return damaged(needed);
    if (segment.p_type != PT_LOAD && segment.p_type != PT_DYNAMIC) continue;
    needed = std::max(needed, TableEnd(segment.p_offset, 1, segment.p_filesz));
  }
  return needed > size ? damaged(needed) : std::string();
}
