#pragma once
// Exceptions for misuse by program code. Anything a user typed or chose wrongly
// is reported with a message box instead and never surfaces as one of these.
#include <stdexcept>
#include <string>

namespace ovk_wxtools {

class TypeError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

class LookupError : public std::out_of_range {
public:
    using std::out_of_range::out_of_range;
};

}  // namespace ovk_wxtools
