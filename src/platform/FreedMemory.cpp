#include "FreedMemory.h"

#include <malloc.h>

namespace platform::FreedMemory {

void giveBackToSystem()
{
#ifdef _WIN32
    _heapmin();
#elif defined(__GLIBC__)
    malloc_trim(0);
#endif
}

} // namespace platform::FreedMemory
