#include "platform/HeapReuse.h"

namespace talver {

// The Windows heap keeps freed blocks of a process without being told.
void KeepFreedHeapMemory() {}

} // namespace talver
