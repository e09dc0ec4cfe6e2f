#pragma once
// An attribute of a block reference as the module works with it: tag, prompt
// (from the block's attribute definition), trimmed value, the attribute's
// identifier in the drawing, and whether it is invisible.

#include "zrdwg/OdDbObjectId.h"
#include "zrdwg/OdString.h"

namespace zr {

class CEAtributo {
 public:
  CEAtributo(const OdString& tag, const OdString& prompt, const OdString& value, const OdDbObjectId& attribute,
             bool invisible)
      : m_tag(tag), m_prompt(prompt), m_value(value), m_attribute(attribute), m_invisible(invisible) {}

  OdString GetTag() const { return m_tag; }
  OdString GetPrompt() const { return m_prompt; }
  OdString GetValor() const { return m_value; }
  OdDbObjectId GetAtributo() const { return m_attribute; }
  bool IsInvisivel() const { return m_invisible; }

  // Writes text into the attribute in the drawing (CICad::SetTextoAtributo),
  // then keeps it as the value whatever the drawing answered, and returns it.
  // An identifier that opens as something other than an attribute throws
  // OdError_NotThatKindOfClass and the value stays as it was.
  OdString SetValor(const OdString& text);

 private:
  OdString m_tag;
  OdString m_prompt;
  OdString m_value;
  OdDbObjectId m_attribute;
  bool m_invisible;
};

}  // namespace zr
