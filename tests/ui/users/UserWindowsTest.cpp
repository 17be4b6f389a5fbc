// The user overview, the add/edit dialog, class maintenance and the system settings.
#include "StartupFixture.h"

#include <gtest/gtest.h>
