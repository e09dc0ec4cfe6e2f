#include "scheme_registry.h"

namespace zrhost {

void defineProcedures(const SchemeProcedure* table, std::size_t count) {
  SCM documentation = scm_from_utf8_symbol("documentation");
  for (std::size_t i = 0; i < count; ++i) {
    const SchemeProcedure& p = table[i];
    SCM procedure = scm_c_define_gsubr(p.name, p.required, p.optional, p.rest ? 1 : 0, p.function);
    scm_set_procedure_property_x(procedure, documentation, scm_from_utf8_string(p.documentation));
    scm_c_export(p.name, nullptr);
  }
}

}  // namespace zrhost
