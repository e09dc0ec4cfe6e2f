#include "processor_spread.h"

#include <sched.h>

int currentProcessor() noexcept { return sched_getcpu(); }

void moveOffProcessor(int processor) noexcept {
  if (processor < 0 || processor >= CPU_SETSIZE) return;
  cpu_set_t allowed;
  if (sched_getaffinity(0, sizeof allowed, &allowed) != 0 || !CPU_ISSET(processor, &allowed) ||
      CPU_COUNT(&allowed) < 2)
    return;
  cpu_set_t others = allowed;
  CPU_CLR(processor, &others);
  // The kernel moves the thread at once; the mask it had is then given back.
  if (sched_setaffinity(0, sizeof others, &others) == 0) sched_setaffinity(0, sizeof allowed, &allowed);
}
