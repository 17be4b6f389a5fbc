// Hiding tips for good.
#include "app/Tips.h"

namespace kalvintor::app {

TipClosed CloseTip(std::uint32_t mask, int n, bool hide) {
    if (n < 1 || n > kTipCount) return {mask, true};
    const std::uint32_t bit = std::uint32_t{1} << (n - 1);
    if (!hide) return {mask, true};
    return {mask & ~bit, false};
}

}  // namespace kalvintor::app
