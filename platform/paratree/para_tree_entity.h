#pragma once
// Common base of the three kinds of tree objects (Parameter, ParameterBook,
// ParameterDirectory). Tree objects are always held by std::shared_ptr: the
// object itself is what callers keep (an editor keeps it as item data), so
// identity matters and the classes cannot be copied; use clone() instead.
// Tell the kinds apart with std::dynamic_pointer_cast.
#include <string>

namespace ovk_paratree {

class ParaTreeEntity {
public:
    virtual ~ParaTreeEntity() = default;

    // The kind as text: "Parameter", "ParameterBook" or "ParameterDirectory".
    virtual std::string class_name() const = 0;

protected:
    ParaTreeEntity() = default;
    ParaTreeEntity(const ParaTreeEntity&) = default;
    ParaTreeEntity& operator=(const ParaTreeEntity&) = default;
};

}  // namespace ovk_paratree
