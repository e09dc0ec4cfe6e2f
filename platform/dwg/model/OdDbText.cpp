#include "zrdwg/OdDbText.h"

#include "model/DxfFields.h"
#include "model/NewObjectTags.h"
#include "zrdwg/DxfValues.h"

ODRX_DEFINE_MEMBERS(OdDbText, OdDbEntity, "AcDbText")
ODRX_DEFINE_MEMBERS(OdDbAttribute, OdDbText, "AcDbAttribute")
ODRX_DEFINE_MEMBERS(OdDbAttributeDefinition, OdDbText, "AcDbAttributeDefinition")

namespace text = fields::text;
namespace attribute = fields::attribute;
namespace attdef = fields::attdef;
using fields::kConstantFlag;
using fields::kInvisibleFlag;

OdDbTextPtr OdDbText::createObject() {
  OdDbTextPtr text(new OdDbText(internType("TEXT")));
  text->tags_ = newtags::text();
  return text;
}

OdString OdDbText::textString() const { return textField(text::kString); }

std::string_view OdDbText::textStringUtf8(std::string& scratch) const {
  return textFieldUtf8(text::kString, scratch);
}

void OdDbText::setTextString(const OdString& value) { setTextField(text::kString, value); }

OdGePoint3d OdDbText::position() const {
  return OdGePoint3d(doubleField(text::kX), doubleField(text::kY), doubleField(text::kZ));
}

void OdDbText::setPosition(const OdGePoint3d& p) {
  setField(text::kX, odFormatDouble(p.x));
  setField(text::kY, odFormatDouble(p.y));
  setField(text::kZ, odFormatDouble(p.z));
}

double OdDbText::height() const { return doubleField(text::kHeight); }

void OdDbText::setHeight(double height) { setField(text::kHeight, odFormatDouble(height)); }

namespace {
long withFlag(long flags, long flag, bool on) { return on ? (flags | flag) : (flags & ~flag); }
}  // namespace

OdDbAttributePtr OdDbAttribute::createObject() {
  OdDbAttributePtr attribute(new OdDbAttribute(internType("ATTRIB")));
  attribute->tags_ = newtags::attribute();
  return attribute;
}

OdString OdDbAttribute::tag() const { return textField(attribute::kTag); }

std::string_view OdDbAttribute::tagUtf8(std::string& scratch) const {
  return textFieldUtf8(attribute::kTag, scratch);
}

void OdDbAttribute::setTag(const OdString& tag) { setTextField(attribute::kTag, tag); }

bool OdDbAttribute::isInvisible() const { return intField(attribute::kFlags) & kInvisibleFlag; }

void OdDbAttribute::setInvisible(bool invisible) {
  setField(attribute::kFlags, dxfv::fromInt(withFlag(intField(attribute::kFlags), kInvisibleFlag, invisible)));
}

bool OdDbAttribute::isConstant() const { return intField(attribute::kFlags) & kConstantFlag; }

OdDbAttributeDefinitionPtr OdDbAttributeDefinition::createObject() {
  OdDbAttributeDefinitionPtr definition(new OdDbAttributeDefinition(internType("ATTDEF")));
  definition->tags_ = newtags::attributeDefinition();
  return definition;
}

OdString OdDbAttributeDefinition::tag() const { return textField(attdef::kTag); }

void OdDbAttributeDefinition::setTag(const OdString& tag) { setTextField(attdef::kTag, tag); }

OdString OdDbAttributeDefinition::prompt() const { return textField(attdef::kPrompt); }

void OdDbAttributeDefinition::setPrompt(const OdString& prompt) { setTextField(attdef::kPrompt, prompt); }

bool OdDbAttributeDefinition::isConstant() const { return intField(attdef::kFlags) & kConstantFlag; }

void OdDbAttributeDefinition::setConstant(bool constant) {
  setField(attdef::kFlags, dxfv::fromInt(withFlag(intField(attdef::kFlags), kConstantFlag, constant)));
}

bool OdDbAttributeDefinition::isInvisible() const { return intField(attdef::kFlags) & kInvisibleFlag; }

void OdDbAttributeDefinition::setInvisible(bool invisible) {
  setField(attdef::kFlags, dxfv::fromInt(withFlag(intField(attdef::kFlags), kInvisibleFlag, invisible)));
}
