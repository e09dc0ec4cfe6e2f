#include "controls/CITreeCtrl.h"

CITreeCtrl::CITreeCtrl() { m_bMulti = 0; }

CITreeCtrl::~CITreeCtrl() = default;

zr::CEPasta* CITreeCtrl::InsertNode(zr::CEPasta* parent, zr::CEPasta* record) {
  HTREEITEM parentItem = TVI_ROOT;
  if (parent) {
    parentItem = parent->m_item;
    parent->m_filhos.push_back(record);
    record->m_pai = parent;
  }
  const int image = record->m_folha == 1 ? m_nImagemFolha : 0;
  TVINSERTSTRUCTW insert{};
  insert.hParent = parentItem;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  insert.item.pszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(record->m_nome));
  insert.item.iImage = image;
  insert.item.iSelectedImage = image;
  HTREEITEM item = InsertItem(&insert);
  record->m_item = item;
  SetItemData(item, reinterpret_cast<DWORD_PTR>(record));
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  return record;
}

bool CITreeCtrl::DeleteAll() {
  DeleteItem(TVI_ROOT);
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  return true;
}

zr::CEPasta* CITreeCtrl::GetNode(HTREEITEM item) const {
  return item ? reinterpret_cast<zr::CEPasta*>(GetItemData(item)) : nullptr;
}
