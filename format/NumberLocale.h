// Numbers in size texts and reports are always written the report format's
// way, "." before the decimals and "," between thousands, whatever the
// user's locale; everything else (dates, words, sorting) follows the user.
#pragma once

#include <locale.h>

// While it lives, the calling thread formats numbers in the C locale.
class CNumericScope {
public:
    CNumericScope();
    ~CNumericScope();
    CNumericScope(const CNumericScope&) = delete;
    CNumericScope& operator=(const CNumericScope&) = delete;

private:
    locale_t previous_ = nullptr;
};

// For the programs at start-up (and after a toolkit has set the locale
// anew): the user's locale for everything but numbers.
void UseUserLocaleExceptNumbers();
