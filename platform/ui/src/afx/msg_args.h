// Casts of message arguments shared by the control wrappers.
#pragma once

#include "zrui/wintypes.h"

namespace afx_detail {
template <typename T>
inline LPARAM P(T* p) { return reinterpret_cast<LPARAM>(p); }
inline WPARAM W(int i) { return static_cast<WPARAM>(i); }
}  // namespace afx_detail
