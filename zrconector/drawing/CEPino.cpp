#include "drawing/CEPino.h"

namespace zr {

CEPino* CEConectorPinos::AddPino(const OdString& identifier, const OdString& handle, const OdString& pin, int status,
                                 double x, double y) {
  // A pin that the record fails to hold stays in the store, which destroys
  // it with the rest.
  if (!m_store) m_store = std::make_shared<PinStore>();
  std::unique_ptr<CEPino, PinRelease> p(m_store->Make());
  p->identifier = identifier;
  p->handle = handle;
  p->pin = pin;
  p->owner = this;
  p->status = status;
  p->x = x;
  p->y = y;
  if (status == PINO_DESCONHECIDO) m_state = CONECTOR_PINO_DESCONHECIDO;
  m_pins.push_back(std::move(p));
  return m_pins.back().get();
}

bool CEConectorPinos::FindPino(const OdString& identifier, CEPino*& pin) const {
  for (const auto& p : m_pins) {
    if (p->identifier == identifier) {
      pin = p.get();
      return true;
    }
  }
  return false;
}

}  // namespace zr
