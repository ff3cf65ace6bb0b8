#include "base/StrToInt.h"

#include "base/Errors.h"

#include <limits>

namespace zdawnik {

std::string NotAnIntegerMessage(const std::string& text)
{
    return "'" + text + "' is not a valid integer value";
}

int StrToInt(const std::string& text)
{
    const char* first = text.data();
    const char* last = text.data() + text.size();
    bool negative = false;
    if (first != last && (*first == '+' || *first == '-')) {
        negative = *first == '-';
        ++first;
    }
    if (first == last)
        throw EConvertError(NotAnIntegerMessage(text));
    long long value = 0;
    for (const char* p = first; p != last; ++p) {
        if (*p < '0' || *p > '9')
            throw EConvertError(NotAnIntegerMessage(text));
        value = value * 10 + (*p - '0');
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            throw EConvertError(NotAnIntegerMessage(text));
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        throw EConvertError(NotAnIntegerMessage(text));
    return static_cast<int>(value);
}

} // namespace zdawnik
