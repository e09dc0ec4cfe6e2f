#include "scheme_values.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "scheme_guard.h"

namespace zrhost {
namespace {

SCM entityNameType = SCM_BOOL_F;

// Lists nested deeper than this are refused: a list that contains itself
// would otherwise never end.
constexpr int kMaxDepth = 256;

SchemeFailure wrongType(const std::string& what) {
  return SchemeFailure("wrong-type-arg", what + " cannot be passed to the host as a value "
                                               "(strings, numbers, entity names, booleans and lists can)");
}

std::string kindOf(SCM value) {
  if (scm_is_symbol(value)) return "a symbol";
  if (SCM_CHARP(value)) return "a character";
  if (scm_is_true(scm_procedure_p(value))) return "a procedure";
  if (scm_is_vector(value)) return "a vector";
  if (scm_is_number(value)) return "a complex number";
  if (scm_is_eq(value, SCM_UNSPECIFIED)) return "the unspecified value";
  return "this value";
}

resbuf* link(resbuf*** tail, int16_t restype) {
  resbuf* node = fxNewNode(restype);
  **tail = node;
  *tail = &node->rbnext;
  return node;
}

void appendString(SCM value, resbuf*** tail) {
  std::size_t length = 0;
  char* utf8 = scm_to_utf8_stringn(value, &length);
  std::unique_ptr<char, decltype(&std::free)> owned(utf8, &std::free);
  if (std::memchr(utf8, 0, length))
    throw SchemeFailure("wrong-type-arg", "a string with a NUL character cannot be passed to the host");
  resbuf* node = link(tail, RTSTR);
  node->resval.rstring = fxNewString(OdString::fromUtf8(std::string_view(utf8, length)));
}

void appendValue(SCM value, IntegerNodes integers, resbuf*** tail, int depth) {
  if (scm_is_string(value)) {
    appendString(value, tail);
  } else if (isEntityName(value)) {
    entityNameOf(value, link(tail, RTENAME)->resval.rlname);
  } else if (scm_is_eq(value, SCM_BOOL_T)) {
    link(tail, RTT);
  } else if (scm_is_false(value) || scm_is_null(value)) {
    link(tail, RTNIL);
  } else if (scm_is_pair(value)) {
    if (scm_ilength(value) < 0) throw wrongType("an improper or circular list");
    if (depth >= kMaxDepth) throw wrongType("a list nested more than 256 levels deep");
    link(tail, RTLB);
    for (SCM rest = value; scm_is_pair(rest); rest = scm_cdr(rest)) appendValue(scm_car(rest), integers, tail, depth + 1);
    link(tail, RTLE);
  } else if (scm_is_exact_integer(value)) {
    if (!scm_is_signed_integer(value, INT32_MIN, INT32_MAX)) throw wrongType("an integer beyond 32 bits");
    const int32_t n = scm_to_int32(value);
    if (integers == IntegerNodes::kShortWhenFits && n >= INT16_MIN && n <= INT16_MAX) {
      link(tail, RTSHORT)->resval.rint = static_cast<int16_t>(n);
    } else {
      link(tail, RTLONG)->resval.rlong = n;
    }
  } else if (scm_is_real(value)) {
    link(tail, RTREAL)->resval.rreal = scm_to_double(value);
  } else {
    throw wrongType(kindOf(value));
  }
}

SCM fromUtf16(const OdChar* text) {
  if (!text) return scm_from_utf8_string("");
  const std::string utf8 = OdString(text).toUtf8();
  return scm_from_utf8_stringn(utf8.data(), utf8.size());
}

SchemeFailure malformed(const std::string& what) {
  return SchemeFailure("host-error", "malformed value chain from the host: " + what);
}

// Reads items from *node up to the end of the chain (top level) or up to the
// RTLE that closes the list (nested).
SCM parseItems(const resbuf** node, bool nested, int depth) {
  if (depth > kMaxDepth) throw malformed("lists nested more than 256 levels deep");
  SCM items = SCM_EOL;
  while (*node) {
    const resbuf* n = *node;
    *node = n->rbnext;
    SCM item = SCM_UNSPECIFIED;
    switch (n->restype) {
      case RTLB: item = parseItems(node, true, depth + 1); break;
      case RTLE:
        if (!nested) throw malformed("a list end without its list begin");
        return scm_reverse_x(items, SCM_EOL);
      case RTSTR: item = fromUtf16(n->resval.rstring); break;
      case RTENAME: item = makeEntityName(n->resval.rlname); break;
      case RTSHORT: item = scm_from_int16(n->resval.rint); break;
      case RTLONG: item = scm_from_int32(n->resval.rlong); break;
      case RTREAL: item = scm_from_double(n->resval.rreal); break;
      case RTPOINT:
        item = scm_list_2(scm_from_double(n->resval.rpoint[0]), scm_from_double(n->resval.rpoint[1]));
        break;
      case RT3DPOINT:
        item = scm_list_3(scm_from_double(n->resval.rpoint[0]), scm_from_double(n->resval.rpoint[1]),
                          scm_from_double(n->resval.rpoint[2]));
        break;
      case RTT: item = SCM_BOOL_T; break;
      case RTNIL: item = SCM_EOL; break;
      case RTVOID:
      case RTNONE: item = SCM_UNSPECIFIED; break;
      default: throw malformed("a value of unknown type " + std::to_string(n->restype));
    }
    items = scm_cons(item, items);
  }
  if (nested) throw malformed("a list begin without its list end");
  return scm_reverse_x(items, SCM_EOL);
}

}  // namespace

void setEntityNameType(SCM recordType) {
  entityNameType = scm_gc_protect_object(recordType);
}

bool isEntityName(SCM value) {
  return scm_is_true(scm_struct_p(value)) && scm_is_eq(scm_struct_vtable(value), entityNameType);
}

SCM makeEntityName(const ads_name name) {
  return scm_make_struct_no_tail(entityNameType, scm_list_2(scm_from_uint32(name[0]), scm_from_uint32(name[1])));
}

void entityNameOf(SCM value, ads_name name) {
  if (!isEntityName(value)) throw SchemeFailure("wrong-type-arg", "not an entity name");
  for (int i = 0; i < 2; ++i) {
    SCM part = scm_struct_ref(value, scm_from_int(i));
    if (!scm_is_unsigned_integer(part, 0, UINT32_MAX))
      throw SchemeFailure("wrong-type-arg", "an entity name made of other things than two 32-bit integers");
    name[i] = scm_to_uint32(part);
  }
}

std::string stringArg(SCM value, const char* what) {
  if (!scm_is_string(value)) throw SchemeFailure("wrong-type-arg", std::string(what) + " must be a string");
  std::size_t length = 0;
  char* utf8 = scm_to_utf8_stringn(value, &length);
  std::string text(utf8, length);
  std::free(utf8);
  return text;
}

SCM fromUtf8(const std::string& text) { return scm_from_utf8_stringn(text.data(), text.size()); }

void appendItem(SCM value, IntegerNodes integers, resbuf*** tail) { appendValue(value, integers, tail, 0); }

ChainPtr listToChain(SCM values, IntegerNodes integers) {
  if (scm_ilength(values) < 0) throw wrongType("an improper or circular list");
  ChainPtr chain;
  resbuf* head = nullptr;
  resbuf** tail = &head;
  try {
    for (SCM rest = values; scm_is_pair(rest); rest = scm_cdr(rest)) appendItem(scm_car(rest), integers, &tail);
  } catch (...) {
    fxReleaseChain(head);
    throw;
  }
  chain.reset(head);
  return chain;
}

ChainPtr valueToChain(SCM value, IntegerNodes integers) { return listToChain(scm_list_1(value), integers); }

SCM chainToList(const resbuf* chain) { return parseItems(&chain, false, 0); }

}  // namespace zrhost
