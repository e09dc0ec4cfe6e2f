// Temporary C++ wrappers of GDI handles (FromHandle), one per handle and
// thread; they never own the handle.
#pragma once

#include <memory>
#include <unordered_map>

#include "zrui/afx/cdc.h"
#include "zrui/afx/cgdiobject.h"

template <typename T>
T* Wrapper(const void* h) {
  if (!h) return nullptr;
  thread_local std::unordered_map<const void*, std::unique_ptr<T>> wrappers;
  auto& w = wrappers[h];
  if (!w) w = std::make_unique<T>();
  return w.get();
}

// kind: 0 font, 1 brush, 2 bitmap.
CGdiObject* AfxGdiWrapper(HGDIOBJ h, int kind);
CDC* AfxDcWrapper(HDC h);
