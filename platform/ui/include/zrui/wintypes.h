// Basic types of the window toolkit, with the names and sizes of the
// classic Windows API so that dialog code reads the same on this toolkit.
#pragma once

#include <cstdint>
#include <cstddef>

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using INT = int;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using WCHAR = char16_t;
using TCHAR = char16_t;
using LPWSTR = char16_t*;
using LPCWSTR = const char16_t*;
using LPTSTR = char16_t*;
using LPCTSTR = const char16_t*;
using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using ULONG_PTR = std::uintptr_t;
using DWORD_PTR = std::uintptr_t;
using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;
using COLORREF = DWORD;
using LPVOID = void*;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#ifndef CALLBACK
#define CALLBACK
#endif
#ifndef WINAPI
#define WINAPI
#endif
#ifndef _T
#define _T(x) u##x
#endif
#ifndef _TEXT
#define _TEXT(x) u##x
#endif

// Opaque handles. Each kind is a distinct pointer type so that overloads and
// mistakes are caught at compile time; the toolkit never hands out a pointer
// that can be dereferenced by its users.
#define ZRUI_DECLARE_HANDLE(name) \
  struct name##__ { int unused; };  \
  using name = name##__*
ZRUI_DECLARE_HANDLE(HWND);
ZRUI_DECLARE_HANDLE(HDC);
ZRUI_DECLARE_HANDLE(HFONT);
ZRUI_DECLARE_HANDLE(HBRUSH);
ZRUI_DECLARE_HANDLE(HPEN);
ZRUI_DECLARE_HANDLE(HBITMAP);
ZRUI_DECLARE_HANDLE(HCURSOR);
ZRUI_DECLARE_HANDLE(HICON);
ZRUI_DECLARE_HANDLE(HMENU);
ZRUI_DECLARE_HANDLE(HINSTANCE);
ZRUI_DECLARE_HANDLE(HTREEITEM);
ZRUI_DECLARE_HANDLE(HRGN);
#undef ZRUI_DECLARE_HANDLE
using HGDIOBJ = void*;
using HMODULE = HINSTANCE;
struct _IMAGELIST;
using HIMAGELIST = _IMAGELIST*;

struct POINT {
  LONG x = 0;
  LONG y = 0;
};
using LPPOINT = POINT*;

struct SIZE {
  LONG cx = 0;
  LONG cy = 0;
};
using LPSIZE = SIZE*;

struct RECT {
  LONG left = 0;
  LONG top = 0;
  LONG right = 0;
  LONG bottom = 0;
};
using LPRECT = RECT*;
using LPCRECT = const RECT*;

struct MSG {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD time = 0;
  POINT pt;
};
using LPMSG = MSG*;

inline constexpr WORD LOWORD(DWORD_PTR v) { return static_cast<WORD>(v & 0xFFFF); }
inline constexpr WORD HIWORD(DWORD_PTR v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
inline constexpr BYTE LOBYTE(DWORD_PTR v) { return static_cast<BYTE>(v & 0xFF); }
inline constexpr DWORD MAKELONG(WORD lo, WORD hi) {
  return static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16);
}
inline constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi) { return MAKELONG(lo, hi); }
inline constexpr LPARAM MAKELPARAM(WORD lo, WORD hi) {
  return static_cast<LPARAM>(static_cast<LONG>(MAKELONG(lo, hi)));
}
inline constexpr LRESULT MAKELRESULT(WORD lo, WORD hi) { return MAKELPARAM(lo, hi); }
// Signed coordinates packed into an LPARAM (mouse messages).
inline constexpr int GET_X_LPARAM(LPARAM l) { return static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(l))); }
inline constexpr int GET_Y_LPARAM(LPARAM l) { return static_cast<SHORT>(HIWORD(static_cast<DWORD_PTR>(l))); }

inline constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
  return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
inline constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
inline constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
inline constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }

#define MAKEINTRESOURCEW(i) (reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(i))))
#define MAKEINTRESOURCE(i) MAKEINTRESOURCEW(i)
#define IS_INTRESOURCE(p) ((reinterpret_cast<ULONG_PTR>(p) >> 16) == 0)
