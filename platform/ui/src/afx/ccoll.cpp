#include "zrui/afx/coll.h"

#include <stdexcept>
#include <utility>

CStringList::Node* CStringList::node(POSITION pos) {
  if (!pos) throw std::out_of_range("CStringList: null position");
  return reinterpret_cast<Node*>(pos);
}

POSITION CStringList::AddTail(const CString& s) { return AddTail(CString(s)); }

POSITION CStringList::AddTail(CString&& s) {
  Node* n = new Node{std::move(s), tail_, nullptr};
  if (tail_) {
    tail_->next = n;
  } else {
    head_ = n;
  }
  tail_ = n;
  ++count_;
  return toPosition(n);
}

POSITION CStringList::AddHead(const CString& s) {
  Node* n = new Node{s, nullptr, head_};
  if (head_) {
    head_->prev = n;
  } else {
    tail_ = n;
  }
  head_ = n;
  ++count_;
  return toPosition(n);
}

void CStringList::RemoveAll() {
  while (head_) {
    Node* next = head_->next;
    delete head_;
    head_ = next;
  }
  tail_ = nullptr;
  count_ = 0;
}

void CStringList::RemoveAt(POSITION pos) {
  Node* n = node(pos);
  (n->prev ? n->prev->next : head_) = n->next;
  (n->next ? n->next->prev : tail_) = n->prev;
  delete n;
  --count_;
}

CString& CStringList::GetNext(POSITION& pos) {
  Node* n = node(pos);
  pos = toPosition(n->next);
  return n->value;
}

const CString& CStringList::GetNext(POSITION& pos) const { return const_cast<CStringList*>(this)->GetNext(pos); }

POSITION CStringList::Find(LPCTSTR s, POSITION startAfter) const {
  for (Node* n = startAfter ? node(startAfter)->next : head_; n; n = n->next)
    if (n->value.Compare(s) == 0) return toPosition(n);
  return nullptr;
}
