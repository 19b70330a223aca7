#include "platform/Terminal.h"

#include <cstdio>
#include <unistd.h>

namespace talver {

bool StandardErrorIsTerminal()
{
    return isatty(fileno(stderr)) == 1;
}

} // namespace talver
