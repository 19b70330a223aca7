#include "platform/HeapReuse.h"

#include <cstdlib> // defines __GLIBC__ with the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace talver {

void KeepFreedHeapMemory()
{
#if defined(__GLIBC__)
    // Setting the trim threshold also fixes the mapping threshold at its
    // default, so large matrices are kept on the heap as well: 32 MiB is the
    // largest mapping threshold the library accepts.
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
#endif
}

} // namespace talver
