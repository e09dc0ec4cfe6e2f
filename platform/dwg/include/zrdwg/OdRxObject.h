#pragma once
// Run-time classes, reference counting and smart pointers of the object model.

#include <cstdint>
#include <type_traits>
#include <utility>

#include "OdError.h"

// Describes one class of the object model: its name and its parent, for casts.
class OdRxClass {
 public:
  constexpr OdRxClass(const char* name, const OdRxClass* parent) : name_(name), parent_(parent) {}
  const char* name() const { return name_; }
  const OdRxClass* myParent() const { return parent_; }
  bool isDerivedFrom(const OdRxClass* other) const {
    for (const OdRxClass* c = this; c; c = c->parent_)
      if (c == other) return true;
    return false;
  }

 private:
  const char* name_;
  const OdRxClass* parent_;
};

// Declares desc(), isA() and cast() for a class of the object model.
#define ODRX_DECLARE_MEMBERS(ClassName)                                        \
 public:                                                                       \
  static const OdRxClass* desc();                                              \
  const OdRxClass* isA() const override { return desc(); }                    \
  static ClassName* cast(const OdRxObject* p) {                                \
    return p && p->isKindOf(desc()) ? static_cast<ClassName*>(const_cast<OdRxObject*>(p)) : nullptr; \
  }

#define ODRX_DEFINE_MEMBERS(ClassName, ParentName, DisplayName)                \
  const OdRxClass* ClassName::desc() {                                        \
    static const OdRxClass cls(DisplayName, ParentName::desc());              \
    return &cls;                                                              \
  }

// Base of every reference-counted object. A new object starts with no references;
// the smart pointer that first takes it adds one, and the last release deletes it.
class OdRxObject {
 public:
  OdRxObject() = default;
  OdRxObject(const OdRxObject&) = delete;
  OdRxObject& operator=(const OdRxObject&) = delete;
  virtual ~OdRxObject() = default;

  static const OdRxClass* desc();
  virtual const OdRxClass* isA() const { return desc(); }
  bool isKindOf(const OdRxClass* cls) const { return isA()->isDerivedFrom(cls); }
  // This object seen as cls, or null.
  virtual OdRxObject* queryX(const OdRxClass* cls) const {
    return isKindOf(cls) ? const_cast<OdRxObject*>(this) : nullptr;
  }
  // This object seen as cls; throws OdError_NotThatKindOfClass when it is not one.
  OdRxObject* x(const OdRxClass* cls) const;
  // Class name shown in cast errors; objects of kinds the model does not know
  // report the name recorded in the drawing.
  virtual OdString className() const { return OdString::fromUtf8(isA()->name()); }

  virtual void addRef() { ++refs_; }
  virtual void release() {
    if (--refs_ == 0) delete this;
  }
  virtual long numRefs() const { return refs_; }

 protected:
  int32_t refs_ = 0;
};

enum OdRxObjMod { kOdRxObjAttach };

// Intrusive smart pointer. Converting from a pointer of a base class checks the
// object's class and throws OdError_NotThatKindOfClass when it does not fit.
template <class T>
class OdSmartPtr {
 public:
  OdSmartPtr() = default;
  OdSmartPtr(std::nullptr_t) {}  // NOLINT
  OdSmartPtr(const T* p) : p_(const_cast<T*>(p)) {  // NOLINT
    if (p_) p_->addRef();
  }
  // Takes over a reference already counted for the caller.
  OdSmartPtr(const T* p, OdRxObjMod) : p_(const_cast<T*>(p)) {}
  OdSmartPtr(const OdSmartPtr& o) : OdSmartPtr(o.p_) {}
  OdSmartPtr(OdSmartPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  template <class U>
  OdSmartPtr(const OdSmartPtr<U>& o) {  // NOLINT
    assignFrom(o.get());
  }
  ~OdSmartPtr() { release(); }

  OdSmartPtr& operator=(OdSmartPtr o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }

  T* get() const { return p_; }
  T* operator->() const {
    if (!p_) throw OdError(eNullObjectId, OdString::fromUtf8("Null object pointer used"));
    return p_;
  }
  T& operator*() const { return *operator->(); }
  bool isNull() const { return p_ == nullptr; }
  explicit operator bool() const { return p_ != nullptr; }
  operator T*() const { return p_; }  // NOLINT
  void release() {
    if (p_) std::exchange(p_, nullptr)->release();
  }
  // Gives up the pointer without releasing it.
  T* detach() { return std::exchange(p_, nullptr); }

 private:
  template <class U>
  void assignFrom(U* p) {
    if (!p) return;
    if constexpr (std::is_base_of_v<T, U>) {
      p_ = p;
    } else {
      OdRxObject* q = p->queryX(T::desc());
      if (!q) throw OdError_NotThatKindOfClass(p->className(), T::desc());
      p_ = static_cast<T*>(q);
    }
    p_->addRef();
  }

  T* p_ = nullptr;
};

typedef OdSmartPtr<OdRxObject> OdRxObjectPtr;

template <class T, class U>
bool operator==(const OdSmartPtr<T>& a, const OdSmartPtr<U>& b) {
  return static_cast<const void*>(a.get()) == static_cast<const void*>(b.get());
}
