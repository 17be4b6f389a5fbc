// Which tip comes next, and hiding tips for good.
#include "app/Tips.h"

#include <algorithm>

namespace kalvintor::app {

int TipAtStart(std::uint32_t tipMask, int start) {
    for (int i = 0; i < kTipCount; ++i) {
        const int tip = ((std::max(start, 1) - 1 + i) % kTipCount) + 1;
        if ((tipMask & (1u << (tip - 1))) != 0) return tip;
    }
    return 0;
}

bool HideTip(std::uint32_t& tipMask, int tip) {
    if (tip < 1 || tip > 32) return false;
    const std::uint32_t bit = 1u << (tip - 1);
    if ((tipMask & bit) == 0) return false;
    tipMask &= ~bit;
    return true;
}

}  // namespace kalvintor::app
