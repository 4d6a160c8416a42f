#pragma once
// What a parameter held when an edit began. An edit that ends where it
// started (cancelled, or changed and changed back) then leaves the parameter
// as it was, its modified() state included, so the tree does not count as
// changed and the next save does not rewrite its book.
#include "platform/paratree/parameter.h"

#include <cstdint>
#include <memory>

namespace ovk_paratree {

class ParameterSnapshot {
public:
    // Remembers what `parameter` holds now.
    explicit ParameterSnapshot(std::shared_ptr<Parameter> parameter);

    // True when the parameter holds exactly what it held at the snapshot:
    // the same attributes and descriptions in the same order.
    bool unchanged() const;
    // When unchanged, modified() of the parameter (and of its book) answers
    // again as it did at the snapshot; otherwise nothing happens.
    void settle();
    // Puts back what the parameter held, and its modified() state.
    void restore();

private:
    std::shared_ptr<Parameter> parameter_;
    std::shared_ptr<Parameter> saved_;
    std::uint64_t revision_;
};

}  // namespace ovk_paratree
