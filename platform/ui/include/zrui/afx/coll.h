// Collections of the MFC-shaped layer: the string list.
#pragma once

#include "zrui/afx/cstring.h"

// Position of an element in a list; null past the end.
struct __POSITION {};
using POSITION = __POSITION*;

// An ordered list of strings. A position stays valid until its element is
// removed. The block size is the allocation granularity of the original
// platform; it is accepted and has no other effect here.
class CStringList {
 public:
  explicit CStringList(int blockSize = 10) : blockSize_(blockSize) {}
  ~CStringList() { RemoveAll(); }
  CStringList(const CStringList&) = delete;
  CStringList& operator=(const CStringList&) = delete;

  int GetCount() const { return count_; }
  int GetSize() const { return count_; }
  bool IsEmpty() const { return count_ == 0; }
  int BlockSize() const { return blockSize_; }

  POSITION AddTail(const CString& s);
  // The string moved into the list, not copied.
  POSITION AddTail(CString&& s);
  POSITION AddHead(const CString& s);
  void RemoveAll();
  void RemoveAt(POSITION pos);

  POSITION GetHeadPosition() const { return toPosition(head_); }
  POSITION GetTailPosition() const { return toPosition(tail_); }
  // The element at pos; pos moves to the next one (null after the last).
  CString& GetNext(POSITION& pos);
  const CString& GetNext(POSITION& pos) const;
  CString& GetAt(POSITION pos) { return node(pos)->value; }
  const CString& GetAt(POSITION pos) const { return node(pos)->value; }
  const CString& GetHead() const { return head_->value; }
  const CString& GetTail() const { return tail_->value; }
  // The position of the first element equal to s (exact comparison) after
  // startAfter (or from the head), or null.
  POSITION Find(LPCTSTR s, POSITION startAfter = nullptr) const;

 private:
  struct Node {
    CString value;
    Node* prev = nullptr;
    Node* next = nullptr;
  };
  static POSITION toPosition(Node* n) { return reinterpret_cast<POSITION>(n); }
  static Node* node(POSITION pos);

  Node* head_ = nullptr;
  Node* tail_ = nullptr;
  int count_ = 0;
  int blockSize_;
};
