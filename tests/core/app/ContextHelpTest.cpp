// The help topic of each view.
#include "app/ContextHelp.h"

#include <gtest/gtest.h>

using kalvintor::app::ContextHelpTopic;

TEST(ContextHelp, TopicFollowsTheExerciseAndTheView) {
    struct Case {
        int exercise, view;
        bool tutor;
        int topic;
    };
    const Case cases[] = {
        {0, 1, false, 1},                        // the start menu: the contents
        {0, 3, true, 1},                         // no exercise, whatever the view
        {3, 1, false, 31},                       // interval comparison
        {10, 1, false, 101},                     // chord progressions
        {3, 1, true, 220},                       // a tutor runs: the tutor's page
        {2, 2, false, 22},                       // interval identification's setup
        {2, 2, true, 22},    {2, 3, false, 13},  // results
        {2, 4, false, 195},                      // user overview
        {11, 1, false, 1},                       // out of range: the contents
    };
    for (const auto& c : cases)
        EXPECT_EQ(ContextHelpTopic(c.exercise, c.view, c.tutor), c.topic)
            << c.exercise << "/" << c.view << "/" << c.tutor;
}
