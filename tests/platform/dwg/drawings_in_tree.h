#pragma once
// The drawings the repository holds, for tests that run over all of them:
// every .dxf file and every input of the fuzz corpus below a folder.

#include <algorithm>
#include <filesystem>
#include <vector>

namespace testing_support {

// The .dxf files and fuzz corpus inputs below root, sorted by path.
inline std::vector<std::filesystem::path> drawingsUnder(const std::filesystem::path& root) {
  std::vector<std::filesystem::path> out;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    const std::filesystem::path& p = entry.path();
    if (p.extension() == ".dxf" || p.parent_path().filename() == "corpus") out.push_back(p);
  }
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace testing_support
