#pragma once
// Numbers in reports and data files always use the C conventions ('.' as the
// decimal point, English names), whatever locale the toolkit or the user set.
// While an object of this class lives, the calling thread uses the C locale.

#include <locale.h>

namespace talver {

class CLocaleScope {
public:
    CLocaleScope();
    ~CLocaleScope();
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t cLocale_;
    locale_t previous_;
};

} // namespace talver
