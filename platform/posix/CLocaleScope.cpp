#include "platform/CLocaleScope.h"

#include <locale.h>

namespace talver {

struct CLocaleScope::Previous {
    locale_t cLocale = static_cast<locale_t>(0);
    locale_t locale = static_cast<locale_t>(0);
};

CLocaleScope::CLocaleScope() : previous_(std::make_unique<Previous>())
{
    previous_->cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    if (previous_->cLocale) {
        previous_->locale = uselocale(previous_->cLocale);
    }
}

CLocaleScope::~CLocaleScope()
{
    if (previous_->cLocale) {
        uselocale(previous_->locale);
        freelocale(previous_->cLocale);
    }
}

} // namespace talver
