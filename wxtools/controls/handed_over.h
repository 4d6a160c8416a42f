#pragma once
// Whether a range passed to a bound control's AppendItems may give up its
// elements: a container handed over as a temporary (std::move(batch)), not a
// view, which would only refer to someone else's elements.
#include <ranges>
#include <type_traits>

namespace ovk_wxtools {

template <class R>
inline constexpr bool handed_over = !std::is_lvalue_reference_v<R> && !std::ranges::view<std::remove_cvref_t<R>>;

}  // namespace ovk_wxtools
