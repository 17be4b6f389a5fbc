// The start-up dialogue's edge cases: the setup on the command line, the close query, wrong
// passwords, forbidden guests and damaged files.
#include "StartupFixture.h"
#include "data/DataStore.h"

#include <gtest/gtest.h>

using namespace kalvintor;
using namespace kalvintor::ui;
using namespace kalvintor::ui::testing;
