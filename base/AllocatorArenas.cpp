#include "base/AllocatorArenas.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void limitAllocatorArenas() {
#if defined(__GLIBC__)
    mallopt(M_ARENA_MAX, 1);
#endif
}
