#include "LargeBlocks.h"

#include <cstdlib> // defines __GLIBC__ with the GNU C library
#if defined(__GLIBC__)
#include <malloc.h>
#endif

void ReturnLargeBlocksWhenFreed()
{
#if defined(__GLIBC__)
    // A fixed threshold also stops glibc from raising it after each free.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
}
