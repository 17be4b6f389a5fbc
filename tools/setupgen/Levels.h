// The exercise setups the program ships: the built-in default and three levels of difficulty.
#pragma once

#include "setup/SetupRecord.h"

#include <string>
#include <vector>

namespace kalvintor::setupgen {

struct ShippedSetup {
    std::string fileName;  // in the program directory
    setup::SetupRecord record;
};

// Default_level.lvs (the built-in default setup), Beginner.lvs, Intermediate.lvs, Advanced.lvs.
std::vector<ShippedSetup> ShippedSetups();

}  // namespace kalvintor::setupgen
