// The functions the worker calls (web/src/worker.js). Arguments arrive as one
// text, one argument a line.

#include "web/module/PageCommands.h"

#include <emscripten.h>

#include <cstdio>
#include <sstream>

namespace {

std::vector<std::string> Lines(const char* text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

int Finished(int status)
{
    std::fflush(stderr);
    return status;
}

} // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE int talver_check(const char* arguments)
{
    return Finished(talver::RunPageCommand(Lines(arguments), false));
}

EMSCRIPTEN_KEEPALIVE int talver_run(const char* arguments)
{
    return Finished(talver::RunPageCommand(Lines(arguments), true));
}

EMSCRIPTEN_KEEPALIVE void talver_preview(const char* path, const char* delimiter, const char* items,
                                         const char* missing, const char* group, int rows, const char* out)
{
    talver::WritePreview({path, delimiter, items, missing, group, rows}, out);
}

} // extern "C"
