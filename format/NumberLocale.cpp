#include "format/NumberLocale.h"

namespace {
locale_t CLocale()
{
    // Made once and kept for the whole run; threads share it read-only.
    static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    return c;
}
}  // namespace

CNumericScope::CNumericScope()
{
    if (const locale_t c = CLocale(); c != nullptr)
        previous_ = uselocale(c);
}

CNumericScope::~CNumericScope()
{
    if (previous_ != nullptr)
        uselocale(previous_);
}

void UseUserLocaleExceptNumbers()
{
    setlocale(LC_ALL, "");
    setlocale(LC_NUMERIC, "C");
}
