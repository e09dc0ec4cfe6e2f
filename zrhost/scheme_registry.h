#pragma once
// Procedures written in C++ are registered from tables: name, arity, the
// function and its documentation string.

#include <libguile.h>

#include <cstddef>

namespace zrhost {

struct SchemeProcedure {
  const char* name;
  int required;
  int optional;
  bool rest;
  scm_t_subr function;
  const char* documentation;
};

// Defines each procedure of the table in the current module, exports it and
// attaches its documentation (shown by procedure-documentation).
void defineProcedures(const SchemeProcedure* table, std::size_t count);

template <std::size_t N>
void defineProcedures(const SchemeProcedure (&table)[N]) {
  defineProcedures(table, N);
}

// Casts a C++ procedure to the type Guile registers.
template <typename F>
scm_t_subr subr(F* function) {
  return reinterpret_cast<scm_t_subr>(function);
}

}  // namespace zrhost
