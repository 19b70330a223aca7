#include "platform/FileAccess.h"

#include "platform/windows/WidePath.h"

#include <io.h>

namespace talver {

bool MayWriteFile(const std::string& path)
{
    // Mode 2 asks for writing; a read-only attribute refuses it.
    return _waccess(WidePath(path).c_str(), 2) == 0;
}

} // namespace talver
