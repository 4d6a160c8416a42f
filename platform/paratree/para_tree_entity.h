#pragma once
// Common base of the three kinds of tree objects (Parameter, ParameterBook,
// ParameterDirectory). Tree objects are always held by std::shared_ptr: the
// object itself is what callers keep (an editor keeps it as item data), so
// identity matters and the classes cannot be copied; use clone() instead.
// Tell the kinds apart with std::dynamic_pointer_cast.
#include <cstdint>
#include <string>

namespace ovk_paratree {

class ParaTreeEntity {
public:
    virtual ~ParaTreeEntity() = default;

    // The kind as text: "Parameter", "ParameterBook" or "ParameterDirectory".
    virtual std::string class_name() const = 0;

    // True when the entity or anything below it changed in memory since it
    // was last loaded from or saved to its own place (a directory's own
    // folder, a book's file; a parameter goes with its book). A new entity,
    // never loaded or saved, is modified. Cheap: no text is built.
    virtual bool modified() const = 0;

protected:
    ParaTreeEntity() = default;
    ParaTreeEntity(const ParaTreeEntity&) = default;
    ParaTreeEntity& operator=(const ParaTreeEntity&) = default;

    // A fresh value of one program-wide counter. Every change, load and save
    // takes one, so "changed after that load" is a comparison of two stamps.
    static std::uint64_t next_stamp();
};

}  // namespace ovk_paratree
