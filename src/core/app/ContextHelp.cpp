// Context help topics.
#include "app/ContextHelp.h"

#include "app/ViewTags.h"

namespace kalvintor::app {

namespace {
constexpr int kTopicContents = 1;
constexpr int kTopicTutor = 220;
constexpr int kTopicResults = 13;
constexpr int kTopicUserOverview = 195;
}  // namespace

int ContextHelpTopic(int exercise, int view, bool tutorActive) {
    if (exercise < 1 || exercise > 10) return kTopicContents;
    switch (view) {
        case kViewExercise:
            return tutorActive ? kTopicTutor : exercise * 10 + 1;
        case kViewSetup:
            return exercise * 10 + 2;
        case kViewResults:
            return kTopicResults;
        case kViewUserOverview:
            return kTopicUserOverview;
        default:
            return kTopicContents;
    }
}

}  // namespace kalvintor::app
