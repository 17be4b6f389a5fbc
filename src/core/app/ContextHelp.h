// The help topic of what the main window shows: the context help of the help button, Ctrl+F1
// and F1.
#pragma once

namespace kalvintor::app {

// The overview: the contents (1). Otherwise by view: the exercise view 220 while a tutor runs,
// else exercise × 10 + 1; the setup view exercise × 10 + 2; the results 13; the user overview 195.
int ContextHelpTopic(int exercise, int view, bool tutorActive);

}  // namespace kalvintor::app
