#include "wxtools/dashboard/detail/row_ring.h"

namespace ovk_wxtools::detail {

std::uint64_t RowRing::push(HistoryRow&& row)
{
    if (full())
        drop_oldest();
    const std::size_t i = head_ + size_;
    if (i / block_rows == blocks_.size())
        blocks_.push_back(spare_ ? std::move(spare_) : std::make_unique<HistoryRow[]>(block_rows));
    blocks_[i / block_rows][i % block_rows] = std::move(row);
    ++size_;
    return end() - 1;
}

void RowRing::take_oldest(std::size_t n, std::vector<HistoryRow>& out)
{
    out.reserve(out.size() + n);
    for (; n > 0; --n) {
        out.push_back(std::move(blocks_.front()[head_]));
        drop_oldest();
    }
}

void RowRing::drop_oldest()
{
    blocks_.front()[head_] = HistoryRow();  // lets go of its text now
    ++first_;
    --size_;
    if (++head_ == block_rows) {
        spare_ = std::move(blocks_.front());
        blocks_.pop_front();
        head_ = 0;
    }
}

}  // namespace ovk_wxtools::detail
