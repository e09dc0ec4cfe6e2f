#include "drawing/CEAtributo.h"

#include "drawing/CICad.h"

namespace zr {

OdString CEAtributo::SetValor(const OdString& text) {
  CICad cad;
  cad.SetTextoAtributo(m_attribute, text);
  m_value = text;
  return m_value;
}

}  // namespace zr
