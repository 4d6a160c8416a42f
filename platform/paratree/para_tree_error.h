#pragma once
// The one exception type of the parameter-tree model. Its message is meant for
// a person: it names the file or folder involved and says what is wrong, so a
// caller can show it unchanged.
#include <stdexcept>
#include <string>

namespace ovk_paratree {

class ParaTreeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace ovk_paratree
