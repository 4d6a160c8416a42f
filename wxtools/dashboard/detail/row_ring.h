#pragma once
// The history's rows in the order they came, numbered from 0, kept in blocks
// of a fixed size. With a limit, a row that comes when the limit is reached
// pushes out the oldest: a capped history drops a row in constant time, and
// a block emptied at the front is used again at the back. Growing never moves
// the rows already kept, so the GUI thread never stalls on a copy of them all.
// Without a limit it also serves as the queue of rows waiting for the GUI
// thread (take_oldest): the blocks go round between the threads, and a flood
// allocates nothing per row.
#include "wxtools/dashboard/detail/history_row.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

namespace ovk_wxtools::detail {

class RowRing {
public:
    // `limit` 0: no limit.
    explicit RowRing(std::size_t limit = 0) : limit_(limit) {}

    std::size_t size() const { return size_; }
    bool full() const { return limit_ > 0 && size_ == limit_; }
    // The number of the oldest row kept, and one past the newest.
    std::uint64_t first() const { return first_; }
    std::uint64_t end() const { return first_ + size_; }

    // Row number `n`, first() <= n < end().
    const HistoryRow& at(std::uint64_t n) const
    {
        const std::size_t i = head_ + static_cast<std::size_t>(n - first_);
        return blocks_[i / block_rows][i % block_rows];
    }

    // Appends `row` and answers its number; when full(), the oldest goes first.
    std::uint64_t push(HistoryRow&& row);
    // Moves the oldest `n` rows (at most size()) to the end of `out`.
    void take_oldest(std::size_t n, std::vector<HistoryRow>& out);

private:
    static constexpr std::size_t block_rows = 4096;
    using Block = std::unique_ptr<HistoryRow[]>;

    void drop_oldest();

    std::deque<Block> blocks_;
    Block spare_;           // an emptied block, kept for the next one needed
    std::size_t head_ = 0;  // where first() is in the first block
    std::size_t size_ = 0;
    std::uint64_t first_ = 0;
    std::size_t limit_;
};

}  // namespace ovk_wxtools::detail
