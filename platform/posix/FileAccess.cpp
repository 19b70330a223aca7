#include "platform/FileAccess.h"

#include <unistd.h>

namespace talver {

bool MayWriteFile(const std::string& path)
{
    return ::access(path.c_str(), W_OK) == 0;
}

} // namespace talver
