#pragma once

#include <stdexcept>

namespace zdawnik {

// An operation a control refuses in its present state, such as a gauge range that would end below
// its start. what() is the message shown to the user.
class EInvalidOperation : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

} // namespace zdawnik
