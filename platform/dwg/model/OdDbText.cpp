#include "OdDbText.h"

#include "DxfValues.h"
#include "NewObjectTags.h"

ODRX_DEFINE_MEMBERS(OdDbText, OdDbEntity, "AcDbText")
ODRX_DEFINE_MEMBERS(OdDbAttribute, OdDbText, "AcDbAttribute")
ODRX_DEFINE_MEMBERS(OdDbAttributeDefinition, OdDbText, "AcDbAttributeDefinition")

namespace {
constexpr std::string_view kText = "AcDbText";
constexpr std::string_view kAttribute = "AcDbAttribute";
constexpr std::string_view kDefinition = "AcDbAttributeDefinition";

// Flags (group 70) of attributes and their definitions.
constexpr long kInvisible = 1;
constexpr long kConstant = 2;
}  // namespace

OdDbTextPtr OdDbText::createObject() {
  OdDbTextPtr text(new OdDbText(internType("TEXT")));
  text->tags_ = newtags::text();
  return text;
}

OdString OdDbText::textString() const { return textField(kText, 1); }

void OdDbText::setTextString(const OdString& text) { setTextField(kText, 1, text); }

OdGePoint3d OdDbText::position() const {
  return OdGePoint3d(doubleField(kText, 10), doubleField(kText, 20), doubleField(kText, 30));
}

void OdDbText::setPosition(const OdGePoint3d& p) {
  setField(kText, 10, odFormatDouble(p.x));
  setField(kText, 20, odFormatDouble(p.y));
  setField(kText, 30, odFormatDouble(p.z));
}

double OdDbText::height() const { return doubleField(kText, 40); }

void OdDbText::setHeight(double height) { setField(kText, 40, odFormatDouble(height)); }

OdDbAttributePtr OdDbAttribute::createObject() {
  OdDbAttributePtr attribute(new OdDbAttribute(internType("ATTRIB")));
  attribute->tags_ = newtags::attribute();
  return attribute;
}

OdString OdDbAttribute::tag() const { return textField(kAttribute, 2); }

void OdDbAttribute::setTag(const OdString& tag) { setTextField(kAttribute, 2, tag); }

bool OdDbAttribute::isInvisible() const { return intField(kAttribute, 70) & kInvisible; }

void OdDbAttribute::setInvisible(bool invisible) {
  long flags = intField(kAttribute, 70);
  flags = invisible ? (flags | kInvisible) : (flags & ~kInvisible);
  setField(kAttribute, 70, dxfv::fromInt(flags));
}

bool OdDbAttribute::isConstant() const { return intField(kAttribute, 70) & kConstant; }

OdDbAttributeDefinitionPtr OdDbAttributeDefinition::createObject() {
  OdDbAttributeDefinitionPtr definition(new OdDbAttributeDefinition(internType("ATTDEF")));
  definition->tags_ = newtags::attributeDefinition();
  return definition;
}

OdString OdDbAttributeDefinition::tag() const { return textField(kDefinition, 2); }

void OdDbAttributeDefinition::setTag(const OdString& tag) { setTextField(kDefinition, 2, tag); }

OdString OdDbAttributeDefinition::prompt() const { return textField(kDefinition, 3); }

void OdDbAttributeDefinition::setPrompt(const OdString& prompt) { setTextField(kDefinition, 3, prompt); }

bool OdDbAttributeDefinition::isConstant() const { return intField(kDefinition, 70) & kConstant; }

void OdDbAttributeDefinition::setConstant(bool constant) {
  long flags = intField(kDefinition, 70);
  flags = constant ? (flags | kConstant) : (flags & ~kConstant);
  setField(kDefinition, 70, dxfv::fromInt(flags));
}

bool OdDbAttributeDefinition::isInvisible() const { return intField(kDefinition, 70) & kInvisible; }

void OdDbAttributeDefinition::setInvisible(bool invisible) {
  long flags = intField(kDefinition, 70);
  flags = invisible ? (flags | kInvisible) : (flags & ~kInvisible);
  setField(kDefinition, 70, dxfv::fromInt(flags));
}
