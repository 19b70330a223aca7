#include "platform/CLocaleScope.h"

#include <clocale>
#include <locale.h>
#include <string>

namespace talver {

struct CLocaleScope::Previous {
    int threadMode = 0;
    std::string name;
};

// The C runtime's locale becomes the thread's own for the scope, so that
// other threads keep theirs.
CLocaleScope::CLocaleScope() : previous_(std::make_unique<Previous>())
{
    previous_->threadMode = _configthreadlocale(_ENABLE_PER_THREAD_LOCALE);
    const char* name = std::setlocale(LC_ALL, nullptr);
    previous_->name = name ? name : "C";
    std::setlocale(LC_ALL, "C");
}

CLocaleScope::~CLocaleScope()
{
    std::setlocale(LC_ALL, previous_->name.c_str());
    _configthreadlocale(previous_->threadMode);
}

} // namespace talver
