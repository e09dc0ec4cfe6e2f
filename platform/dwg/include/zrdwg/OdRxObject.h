#pragma once
// Run-time classes, reference counting and smart pointers of the object model.

#include <cstdint>
#include <type_traits>
#include <utility>

#include "zrdwg/OdError.h"

// Describes one class of the object model: its name and its parent, for casts.
class OdRxClass {
 public:
  // name must outlive the class (a literal); parent is null for the root.
  constexpr OdRxClass(const char* name, const OdRxClass* parent) : name_(name), parent_(parent) {}
  // The class's display name ("AcDbEntity").
  const char* name() const { return name_; }
  // The parent class, or null for OdRxObject.
  const OdRxClass* myParent() const { return parent_; }
  // True when other is this class or one of its ancestors.
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

// Defines desc(): the class named DisplayName, child of ParentName's class.
#define ODRX_DEFINE_MEMBERS(ClassName, ParentName, DisplayName)                \
  const OdRxClass* ClassName::desc() {                                        \
    static const OdRxClass cls(DisplayName, ParentName::desc());              \
    return &cls;                                                              \
  }

// Base of every reference-counted object. A new object starts with no references;
// the smart pointer that first takes it adds one, and the last release deletes it.
class OdRxObject {
 public:
  // A new object without references.
  OdRxObject() = default;
  // Objects are shared by reference, never copied.
  OdRxObject(const OdRxObject&) = delete;
  OdRxObject& operator=(const OdRxObject&) = delete;
  virtual ~OdRxObject() = default;

  // The run-time class of OdRxObject itself.
  static const OdRxClass* desc();
  // The run-time class of this object.
  virtual const OdRxClass* isA() const { return desc(); }
  // True when the object is of class cls or of a class derived from it.
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

  // Counts one more reference. Not thread-safe: an object is used by one
  // thread at a time.
  virtual void addRef() { ++refs_; }
  // Drops one reference; the last one deletes the object.
  virtual void release() {
    if (--refs_ == 0) delete this;
  }
  // The references counted now.
  virtual long numRefs() const { return refs_; }

 protected:
  int32_t refs_ = 0;
};

// Passed to OdSmartPtr to take over a reference already counted.
enum OdRxObjMod { kOdRxObjAttach };

// Intrusive smart pointer. Converting from a pointer of a base class checks the
// object's class and throws OdError_NotThatKindOfClass when it does not fit.
template <class T>
class OdSmartPtr {
 public:
  // A null pointer.
  OdSmartPtr() = default;
  OdSmartPtr(std::nullptr_t) {}  // NOLINT
  // Holds p (adds a reference); null stays null.
  OdSmartPtr(const T* p) : p_(const_cast<T*>(p)) {  // NOLINT
    if (p_) p_->addRef();
  }
  // Takes over a reference already counted for the caller.
  OdSmartPtr(const T* p, OdRxObjMod) : p_(const_cast<T*>(p)) {}
  // Shares o's object (adds a reference).
  OdSmartPtr(const OdSmartPtr& o) : OdSmartPtr(o.p_) {}
  // Takes o's reference; o becomes null.
  OdSmartPtr(OdSmartPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  // Holds o's object as a T: checked as the class comment says.
  template <class U>
  OdSmartPtr(const OdSmartPtr<U>& o) {  // NOLINT
    assignFrom(o.get());
  }
  // Drops the reference held.
  ~OdSmartPtr() { release(); }

  // Holds o's object and drops the one held before.
  OdSmartPtr& operator=(OdSmartPtr o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }

  // The object, or null; valid while a reference is held.
  T* get() const { return p_; }
  // The object; throws OdError(eNullObjectId) when null.
  T* operator->() const {
    if (!p_) throw OdError(eNullObjectId, OdString::fromUtf8("Null object pointer used"));
    return p_;
  }
  // The object; throws as operator-> does.
  T& operator*() const { return *operator->(); }
  // True when no object is held.
  bool isNull() const { return p_ == nullptr; }
  explicit operator bool() const { return p_ != nullptr; }
  operator T*() const { return p_; }  // NOLINT
  // Drops the reference held and becomes null.
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

// True when both hold the same object (or both are null).
template <class T, class U>
bool operator==(const OdSmartPtr<T>& a, const OdSmartPtr<U>& b) {
  return static_cast<const void*>(a.get()) == static_cast<const void*>(b.get());
}
