// When the foreground check hides the candidates.
#include "foreground_rule.h"

#include <gtest/gtest.h>

namespace {

const unsigned long TARGET = 40;
const unsigned long OTHER = 41;

struct ForegroundCase {
    const char* what;
    ForegroundView view;
    bool hide;
};

const ForegroundCase FOREGROUND_CASES[] = {
    {"user turned to another application", {true, TARGET, OTHER, false, false}, true},
    {"target still in front", {true, TARGET, TARGET, false, false}, false},
    {"user clicked into the candidates", {true, TARGET, OTHER, true, false}, false},
    {"window hidden", {false, TARGET, OTHER, false, false}, false},
    {"no target recorded", {true, 0, OTHER, false, false}, false},
    {"target window gone, its thread still in front", {true, TARGET, TARGET, false, true}, true},
    {"target window gone, user in the candidates", {true, TARGET, OTHER, true, true}, true},
    {"target window gone, window hidden", {false, TARGET, TARGET, false, true}, false},
    {"target window gone, no target recorded", {true, 0, OTHER, false, true}, false},
};

TEST(ForegroundRuleTest, HidesWhenTheUserTurnedAwayOrTheTargetIsGone) {
    for (const ForegroundCase& c : FOREGROUND_CASES) {
        EXPECT_EQ(ShouldHideForForeground(c.view), c.hide) << c.what;
    }
}

}  // namespace
