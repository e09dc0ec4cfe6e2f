#include "zrui/afx/cimagelist.h"

#include <memory>
#include <unordered_map>
#include <utility>

CImageList::~CImageList() {
  if (m_owned) DeleteImageList();
}
CImageList* CImageList::FromHandle(HIMAGELIST h) {
  if (!h) return nullptr;
  thread_local std::unordered_map<HIMAGELIST, std::unique_ptr<CImageList>> wrappers;
  auto& w = wrappers[h];
  if (!w) w = std::make_unique<CImageList>();
  w->m_hImageList = h;
  w->m_owned = false;
  return w.get();
}
BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow) {
  if (m_owned) DeleteImageList();
  m_owned = true;
  m_hImageList = ImageList_Create(cx, cy, flags, initial, grow);
  return m_hImageList != nullptr;
}
BOOL CImageList::Create(UINT bitmapId, int cx, int grow, COLORREF mask) {
  CBitmap strip;
  if (!strip.LoadBitmap(bitmapId)) return FALSE;
  BITMAP bm;
  strip.GetBitmap(&bm);
  if (!Create(cx, bm.bmHeight, ILC_COLOR32 | ILC_MASK, 0, grow)) return FALSE;
  return Add(&strip, mask) >= 0;
}
BOOL CImageList::DeleteImageList() {
  if (!m_hImageList) return FALSE;
  // Wrappers made by FromHandle never own their list.
  return ImageList_Destroy(Detach());
}
HIMAGELIST CImageList::Detach() { return std::exchange(m_hImageList, nullptr); }
int CImageList::Add(CBitmap* bitmap, COLORREF mask) { return bitmap ? ImageList_AddMasked(m_hImageList, *bitmap, mask) : -1; }
int CImageList::Add(CBitmap* bitmap, CBitmap* mask) {
  return bitmap ? ImageList_Add(m_hImageList, *bitmap, mask ? static_cast<HBITMAP>(*mask) : nullptr) : -1;
}
int CImageList::GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
BOOL CImageList::Draw(CDC* dc, int image, POINT p, UINT style) {
  return dc ? ImageList_Draw(m_hImageList, image, dc->m_hDC, p.x, p.y, style) : FALSE;
}
BOOL CImageList::Remove(int image) { return ImageList_Remove(m_hImageList, image); }
COLORREF CImageList::SetBkColor(COLORREF c) { return ImageList_SetBkColor(m_hImageList, c); }
