#include "platform/CLocaleScope.h"

namespace talver {

CLocaleScope::CLocaleScope()
    : cLocale_(newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0))),
      previous_(cLocale_ ? uselocale(cLocale_) : static_cast<locale_t>(0))
{
}

CLocaleScope::~CLocaleScope()
{
    if (cLocale_) {
        uselocale(previous_);
        freelocale(cLocale_);
    }
}

} // namespace talver
