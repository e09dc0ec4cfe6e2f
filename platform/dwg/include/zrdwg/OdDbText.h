#pragma once
// Single-line text and the two kinds of attribute built on it.

#include <string>
#include <string_view>

#include "zrdwg/OdDbEntity.h"
#include "zrdwg/OdGePoint3d.h"

class OdDbText;
class OdDbAttribute;
class OdDbAttributeDefinition;
typedef OdSmartPtr<OdDbText> OdDbTextPtr;
typedef OdSmartPtr<OdDbAttribute> OdDbAttributePtr;
typedef OdSmartPtr<OdDbAttributeDefinition> OdDbAttributeDefinitionPtr;

class OdDbText : public OdDbEntity {
  ODRX_DECLARE_MEMBERS(OdDbText)
 public:
  // A new text outside any drawing: layer "0", at the origin, height 2.5,
  // empty. The caller holds the only reference until a block takes it
  // (OdDbBlockTableRecord::appendOdDbEntity).
  static OdDbTextPtr createObject();

  // The text (group 1); empty when the tags have none.
  OdString textString() const;
  // The same text as UTF-8, viewed in the tags or converted into scratch as
  // OdDbAttribute::tagUtf8 gives a tag (with the same lifetime).
  std::string_view textStringUtf8(std::string& scratch) const;
  // Replaces the text, encoded for the drawing. Needs the object open for write.
  void setTextString(const OdString& text);
  // The first alignment point (10/20/30); 0 for a coordinate the tags lack.
  OdGePoint3d position() const;
  // Moves the first alignment point. Needs the object open for write.
  void setPosition(const OdGePoint3d& point);
  // The text height (40); 0 when the tags have none.
  double height() const;
  // Sets the text height. Needs the object open for write.
  void setHeight(double height);

 protected:
  explicit OdDbText(uint16_t type) : OdDbEntity(type) {}
  friend class DxfLoader;
  friend class DxfLinker;
};

// An attribute of a block reference: a tagged text.
class OdDbAttribute : public OdDbText {
  ODRX_DECLARE_MEMBERS(OdDbAttribute)
 public:
  // A new attribute outside any drawing: an empty text with an empty tag and
  // no flags. OdDbBlockReference::appendAttribute gives it to a reference.
  static OdDbAttributePtr createObject();

  // The attribute's tag (its name); empty when the tags have none.
  OdString tag() const;
  // The same tag as UTF-8, without a UTF-16 string: a view into the
  // attribute's tags when its bytes are its text already (ASCII without a
  // backslash, as nearly every tag is), else the tag converted into scratch,
  // which is emptied first. The view lasts while the attribute lives with its
  // tags unchanged, and until scratch next changes.
  std::string_view tagUtf8(std::string& scratch) const;
  // Renames the attribute. Needs the object open for write.
  void setTag(const OdString& tag);
  // True when flag 1 of group 70 is set: the attribute is not shown.
  bool isInvisible() const;
  // Sets or clears that flag, keeping the others. Needs the object open for write.
  void setInvisible(bool invisible);
  // True when flag 2 is set: the value is the definition's and cannot change.
  bool isConstant() const;

 protected:
  explicit OdDbAttribute(uint16_t type) : OdDbText(type) {}
  friend class DxfLoader;
  friend class DxfLinker;
};

// An attribute definition of a block: tag, prompt and default text.
class OdDbAttributeDefinition : public OdDbText {
  ODRX_DECLARE_MEMBERS(OdDbAttributeDefinition)
 public:
  // A new definition outside any drawing: empty tag, prompt and default text,
  // no flags. A block takes it with appendOdDbEntity.
  static OdDbAttributeDefinitionPtr createObject();

  // The tag its attributes take; empty when the tags have none.
  OdString tag() const;
  // Renames the definition. Needs the object open for write.
  void setTag(const OdString& tag);
  // The text shown when a value is asked for (group 3).
  OdString prompt() const;
  // Replaces the prompt. Needs the object open for write.
  void setPrompt(const OdString& prompt);
  // True when flag 2 of group 70 is set: every attribute keeps the default text.
  bool isConstant() const;
  // Sets or clears that flag, keeping the others. Needs the object open for write.
  void setConstant(bool constant);
  // True when flag 1 is set: the attributes are not shown.
  bool isInvisible() const;
  // Sets or clears that flag, keeping the others. Needs the object open for write.
  void setInvisible(bool invisible);

 protected:
  explicit OdDbAttributeDefinition(uint16_t type) : OdDbText(type) {}
  friend class DxfLoader;
  friend class DxfLinker;
};
