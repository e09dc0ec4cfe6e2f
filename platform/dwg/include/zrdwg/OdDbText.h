#pragma once
// Single-line text and the two kinds of attribute built on it.

#include "OdDbEntity.h"
#include "OdGePoint3d.h"

class OdDbText;
class OdDbAttribute;
class OdDbAttributeDefinition;
typedef OdSmartPtr<OdDbText> OdDbTextPtr;
typedef OdSmartPtr<OdDbAttribute> OdDbAttributePtr;
typedef OdSmartPtr<OdDbAttributeDefinition> OdDbAttributeDefinitionPtr;

class OdDbText : public OdDbEntity {
  ODRX_DECLARE_MEMBERS(OdDbText)
 public:
  static OdDbTextPtr createObject();

  OdString textString() const;
  void setTextString(const OdString& text);
  OdGePoint3d position() const;
  void setPosition(const OdGePoint3d& point);
  double height() const;
  void setHeight(double height);

 protected:
  explicit OdDbText(uint16_t type) : OdDbEntity(type) {}
  friend class DxfLoader;
};

// An attribute of a block reference: a tagged text.
class OdDbAttribute : public OdDbText {
  ODRX_DECLARE_MEMBERS(OdDbAttribute)
 public:
  static OdDbAttributePtr createObject();

  OdString tag() const;
  void setTag(const OdString& tag);
  bool isInvisible() const;
  void setInvisible(bool invisible);
  bool isConstant() const;

 protected:
  explicit OdDbAttribute(uint16_t type) : OdDbText(type) {}
  friend class DxfLoader;
};

// An attribute definition of a block: tag, prompt and default text.
class OdDbAttributeDefinition : public OdDbText {
  ODRX_DECLARE_MEMBERS(OdDbAttributeDefinition)
 public:
  static OdDbAttributeDefinitionPtr createObject();

  OdString tag() const;
  void setTag(const OdString& tag);
  OdString prompt() const;
  void setPrompt(const OdString& prompt);
  bool isConstant() const;
  void setConstant(bool constant);
  bool isInvisible() const;
  void setInvisible(bool invisible);

 protected:
  explicit OdDbAttributeDefinition(uint16_t type) : OdDbText(type) {}
  friend class DxfLoader;
};
