#pragma once
// Numbers in reports and data files always use the C conventions ('.' as the
// decimal point, English names), whatever locale the toolkit or the user set.
// While an object of this class lives, the calling thread uses the C locale.

#include <memory>

namespace talver {

class CLocaleScope {
public:
    CLocaleScope();
    ~CLocaleScope();
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    // The thread's locale before, as each system keeps it.
    struct Previous;
    std::unique_ptr<Previous> previous_;
};

} // namespace talver
