#pragma once
// Values between Scheme and the host's result-buffer chains.
//
// Scheme -> chain, one item per value: a string is RTSTR (UTF-16), an entity
// name RTENAME, an exact integer RTSHORT or RTLONG, any other real RTREAL, #t
// RTT, #f and '() RTNIL, a non-empty list RTLB, its items, RTLE.
// Chain -> Scheme, item by item: the reverse (RTLB ... RTLE is a list, RTNIL
// '(), RTVOID the unspecified value, a point a list of its coordinates).
//
// Entity names are records of type <entity-name> holding the two integers of
// the host's name (document serial, index), defined by the Scheme prelude.

#include <libguile.h>

#include <memory>
#include <string>

#include "zrfx/FxResBuf.h"

namespace zrhost {

// Frees a chain made with fxNewNode/fxNewString.
struct ChainDeleter {
  void operator()(resbuf* chain) const { fxReleaseChain(chain); }
};
using ChainPtr = std::unique_ptr<resbuf, ChainDeleter>;

enum class IntegerNodes {
  kShortWhenFits,  // RTSHORT for -32768..32767, else RTLONG (arguments of module functions)
  kLong,           // always RTLONG (results and variables given to the module)
};

// Remembers the record type of entity names; called once the prelude has
// defined it.
void setEntityNameType(SCM recordType);
bool isEntityName(SCM value);
SCM makeEntityName(const ads_name name);
// Throws SchemeFailure when value is not an entity name.
void entityNameOf(SCM value, ads_name name);

// Appends the item for one value at *tail (advancing it). Throws SchemeFailure
// (wrong-type-arg) for values that have no item: symbols, characters,
// procedures, improper lists, integers beyond 32 bits...
void appendItem(SCM value, IntegerNodes integers, resbuf*** tail);
// The chain of the values of a proper list, one item each.
ChainPtr listToChain(SCM values, IntegerNodes integers);
// The chain of one value (a one-node chain for an atom).
ChainPtr valueToChain(SCM value, IntegerNodes integers);

// The UTF-8 text of a Scheme string; throws SchemeFailure (wrong-type-arg)
// naming `what` when value is not a string.
std::string stringArg(SCM value, const char* what);
SCM fromUtf8(const std::string& text);

// The Scheme values of a chain's items, as a list. Throws SchemeFailure for a
// chain that is not well formed (an unmatched RTLE, an unknown type code).
SCM chainToList(const resbuf* chain);

}  // namespace zrhost
