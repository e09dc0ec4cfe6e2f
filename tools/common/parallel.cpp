#include "parallel.h"

#include <pthread.h>
#include <sched.h>

std::vector<int> ProcessorForEach(std::size_t threads) {
  cpu_set_t allowed;
  CPU_ZERO(&allowed);
  if (threads < 2 || sched_getaffinity(0, sizeof allowed, &allowed) != 0) return {};
  if (static_cast<std::size_t>(CPU_COUNT(&allowed)) != threads) return {};
  std::vector<int> processors;
  for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
    if (CPU_ISSET(cpu, &allowed)) processors.push_back(cpu);
  return processors;
}

void HoldThisThreadTo(int cpu) noexcept {
  cpu_set_t one;
  CPU_ZERO(&one);
  CPU_SET(cpu, &one);
  pthread_setaffinity_np(pthread_self(), sizeof one, &one);
}
