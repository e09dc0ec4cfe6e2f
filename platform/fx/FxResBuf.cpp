#include "zrfx/FxResBuf.h"

#include <cstdlib>
#include <cstring>
#include <new>

resbuf* fxNewNode(int16_t restype) {
  auto* rb = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
  if (!rb) throw std::bad_alloc();
  rb->restype = restype;
  return rb;
}

OdChar* fxNewString(const OdString& text) {
  const std::size_t n = static_cast<std::size_t>(text.getLength());
  auto* s = static_cast<OdChar*>(std::malloc((n + 1) * sizeof(OdChar)));
  if (!s) throw std::bad_alloc();
  std::memcpy(s, text.c_str(), n * sizeof(OdChar));
  s[n] = 0;
  return s;
}

void fxReleaseChain(resbuf* chain) {
  while (chain) {
    resbuf* next = chain->rbnext;
    if (chain->restype == RTSTR) std::free(chain->resval.rstring);
    std::free(chain);
    chain = next;
  }
}

resbuf* fxCopyChain(const resbuf* chain) {
  resbuf* head = nullptr;
  resbuf** tail = &head;
  for (; chain; chain = chain->rbnext) {
    resbuf* rb = fxNewNode(chain->restype);
    rb->resval = chain->resval;
    if (chain->restype == RTSTR) rb->resval.rstring = fxNewString(OdString(chain->resval.rstring));
    *tail = rb;
    tail = &rb->rbnext;
  }
  return head;
}
