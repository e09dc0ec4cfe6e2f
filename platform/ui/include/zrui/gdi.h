// Device contexts, fonts, brushes, bitmaps and system colours. Drawing is in
// pixels; every font has the same fixed-pitch metric of 7 x 13 pixels per
// character cell, so text extents are exact and predictable in tests.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "zrui/wintypes.h"

constexpr int kCharWidth = 7;
constexpr int kCharHeight = 13;

// ---- system colours ----
constexpr int COLOR_SCROLLBAR = 0;
constexpr int COLOR_BACKGROUND = 1;
constexpr int COLOR_ACTIVECAPTION = 2;
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWFRAME = 6;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_CAPTIONTEXT = 9;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_3DFACE = COLOR_BTNFACE;
constexpr int COLOR_BTNSHADOW = 16;
constexpr int COLOR_GRAYTEXT = 17;
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_BTNHIGHLIGHT = 20;
constexpr int COLOR_INFOTEXT = 23;
constexpr int COLOR_INFOBK = 24;
constexpr int COLOR_HOTLIGHT = 26;
COLORREF GetSysColor(int index);
HBRUSH GetSysColorBrush(int index);

// ---- stock objects ----
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int SYSTEM_FONT = 13;
constexpr int DEFAULT_GUI_FONT = 17;
HGDIOBJ GetStockObject(int index);

// ---- fonts ----
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_BOLD = 700;
struct LOGFONTW {
  LONG lfHeight = -kCharHeight;
  LONG lfWidth = 0;
  LONG lfEscapement = 0;
  LONG lfOrientation = 0;
  LONG lfWeight = FW_NORMAL;
  BYTE lfItalic = 0;
  BYTE lfUnderline = 0;
  BYTE lfStrikeOut = 0;
  BYTE lfCharSet = 0;
  BYTE lfOutPrecision = 0;
  BYTE lfClipPrecision = 0;
  BYTE lfQuality = 0;
  BYTE lfPitchAndFamily = 0;
  WCHAR lfFaceName[32] = {};
};
using LOGFONT = LOGFONTW;
HFONT CreateFontIndirectW(const LOGFONTW* lf);
HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight,
                  DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                  DWORD outPrecision, DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily,
                  LPCWSTR face);
// Copies the description of a font (LOGFONTW) or bitmap (BITMAP) into out.
int GetObjectW(HGDIOBJ obj, int size, LPVOID out);
BOOL DeleteObject(HGDIOBJ obj);
// Number of fonts, brushes, bitmaps and device contexts alive (leak checks).
int LiveGdiObjectCount();

// ---- brushes and pens ----
HBRUSH CreateSolidBrush(COLORREF c);
// Colour of a solid brush (CLR_INVALID for the null brush).
COLORREF BrushColor(HBRUSH b);
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;
constexpr COLORREF CLR_NONE = 0xFFFFFFFF;
constexpr COLORREF CLR_DEFAULT = 0xFF000000;

// ---- bitmaps ----
struct BITMAP {
  LONG bmType = 0;
  LONG bmWidth = 0;
  LONG bmHeight = 0;
  LONG bmWidthBytes = 0;
  WORD bmPlanes = 1;
  WORD bmBitsPixel = 32;
  LPVOID bmBits = nullptr;
};
// Bits, when given, are 32-bit pixels (0x00RRGGBB... as COLORREF values).
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// Pixel access for bitmaps (CLR_INVALID outside).
COLORREF GetBitmapPixel(HBITMAP b, int x, int y);
BOOL SetBitmapPixel(HBITMAP b, int x, int y, COLORREF c);
// Text drawn for a bitmap by the text renderer (one character per image
// cell of `cellWidth` pixels; default '#').
void SetBitmapGlyphs(HBITMAP b, const std::u16string& glyphs, int cellWidth);
std::u16string BitmapGlyphs(HBITMAP b, int x, int width);

// ---- device contexts ----
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
struct PAINTSTRUCT {
  HDC hdc = nullptr;
  BOOL fErase = FALSE;
  RECT rcPaint;
};
HDC BeginPaint(HWND h, PAINTSTRUCT* ps);
BOOL EndPaint(HWND h, const PAINTSTRUCT* ps);
HDC GetDC(HWND h);
int ReleaseDC(HWND h, HDC dc);
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
HWND WindowFromDC(HDC dc);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ obj);
HGDIOBJ GetCurrentObject(HDC dc, UINT type);
constexpr UINT OBJ_BRUSH = 2;
constexpr UINT OBJ_FONT = 6;
constexpr UINT OBJ_BITMAP = 7;
COLORREF SetTextColor(HDC dc, COLORREF c);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF c);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* old);
BOOL GetViewportOrgEx(HDC dc, POINT* out);
int SaveDC(HDC dc);
BOOL RestoreDC(HDC dc, int saved);
int IntersectClipRect(HDC dc, int l, int t, int r, int b);

BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int count);
constexpr UINT ETO_OPAQUE = 0x0002;
constexpr UINT ETO_CLIPPED = 0x0004;
BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* r, LPCWSTR text, UINT count,
                 const int* dx);
constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_TOP = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_BOTTOM = 0x0008;
constexpr UINT DT_WORDBREAK = 0x0010;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_NOCLIP = 0x0100;
constexpr UINT DT_CALCRECT = 0x0400;
constexpr UINT DT_NOPREFIX = 0x0800;
constexpr UINT DT_END_ELLIPSIS = 0x8000;
int DrawTextW(HDC dc, LPCWSTR text, int count, RECT* r, UINT format);
BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, SIZE* out);
struct TEXTMETRICW {
  LONG tmHeight = kCharHeight;
  LONG tmAscent = 10;
  LONG tmDescent = 3;
  LONG tmInternalLeading = 0;
  LONG tmExternalLeading = 0;
  LONG tmAveCharWidth = kCharWidth;
  LONG tmMaxCharWidth = kCharWidth;
  LONG tmWeight = FW_NORMAL;
};
BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* tm);
// What a DC draws on: GetDeviceCaps(dc, TECHNOLOGY) is DT_CHARSTREAM for the
// character grid (terminal, text snapshots), DT_RASDISPLAY for pixels. Other
// indexes give 0.
constexpr int TECHNOLOGY = 2;
constexpr int DT_RASDISPLAY = 1;
constexpr int DT_CHARSTREAM = 4;
int GetDeviceCaps(HDC dc, int index);
int FillRect(HDC dc, const RECT* r, HBRUSH b);
int FrameRect(HDC dc, const RECT* r, HBRUSH b);
BOOL DrawFocusRect(HDC dc, const RECT* r);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF c);
COLORREF GetPixel(HDC dc, int x, int y);
constexpr DWORD SRCCOPY = 0x00CC0020;
BOOL BitBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int sx, int sy, DWORD rop);
// Draws a bitmap at (x, y) of the DC, skipping pixels of the mask colour
// (CLR_NONE draws every pixel).
BOOL DrawBitmap(HDC dc, int x, int y, HBITMAP b, int sx, int sy, int cx, int cy,
                COLORREF maskColour);

// ---- bitmap resources ----
// Bitmaps by id, as a module's resource file would provide them. Pixels are
// row-major COLORREF values; glyphs (optional) give the text renderer one
// character per `glyphCell` pixels of width (0: one glyph for the whole).
void RegisterBitmapResource(UINT id, int width, int height, std::vector<COLORREF> pixels,
                            std::u16string glyphs = u"", int glyphCell = 0);
// A new bitmap made from the resource (the caller deletes it), or nullptr.
HBITMAP LoadBitmapW(HINSTANCE, LPCWSTR name);
// Pixels from text art: one string per row, one character per pixel, each
// character looked up in the palette (unknown characters give black).
std::vector<COLORREF> PixelsFromArt(const std::vector<std::u16string>& rows,
                                    const std::vector<std::pair<char16_t, COLORREF>>& palette);
