#pragma once

#include "lesson/lessoncontroller.h"

#include "media/media.h"

// Looks at the engine a LessonController owns, which the views and the drill reach only
// through the controller.
class LessonTestProbe
{
public:
    // Null when no lesson is open.
    static Media *media(const LessonController &lesson) { return lesson.media_.get(); }
};
