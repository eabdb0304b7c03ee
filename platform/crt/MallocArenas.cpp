#include "platform/crt/MallocArenas.h"

#include <cstdlib>
#include <malloc.h>

void ShareMallocArenas() {
#ifdef M_ARENA_MAX
    if (std::getenv("MALLOC_ARENA_MAX") == nullptr) {
        mallopt(M_ARENA_MAX, 2);
    }
#endif
}
