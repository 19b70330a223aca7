#include "web/module/PageMessages.h"

#include <emscripten.h>

namespace talver {

namespace {

// clang-format off
EM_JS(void, PostPair, (const char* kind, const char* text), {
    postMessage({kind: UTF8ToString(kind), text: UTF8ToString(text)});
});

EM_JS(void, PostProgress, (const char* status, const char* section, const char* step, const char* progress,
                           int done, int total, const char* timing), {
    postMessage({kind: "progress", status: UTF8ToString(status), section: UTF8ToString(section),
                 step: UTF8ToString(step), progress: UTF8ToString(progress), done: done, total: total,
                 timing: UTF8ToString(timing)});
});
// clang-format on

} // namespace

void PostToPage(const char* kind, const std::string& text)
{
    PostPair(kind, text.c_str());
}

void PostProgressToPage(const WindowTexts& texts, int done, int total, const std::string& timing)
{
    PostProgress(texts.status.c_str(), texts.section.c_str(), texts.step.c_str(), texts.progress.c_str(), done, total,
                 timing.c_str());
}

} // namespace talver
