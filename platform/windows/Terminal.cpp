#include "platform/Terminal.h"

#include <cstdio>
#include <io.h>

namespace talver {

bool StandardErrorIsTerminal()
{
    return _isatty(_fileno(stderr)) != 0;
}

} // namespace talver
