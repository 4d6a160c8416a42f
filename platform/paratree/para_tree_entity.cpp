#include "platform/paratree/para_tree_entity.h"

#include <atomic>

namespace ovk_paratree {

std::uint64_t ParaTreeEntity::next_stamp()
{
    static std::atomic<std::uint64_t> counter{0};
    return ++counter;
}

}  // namespace ovk_paratree
