#pragma once

#include "lesson/lessoncontroller.h"

// What the picture view can show on this system's OpenGL, as the engine is to prepare the
// pictures for it: of any size or of power-of-two sizes only, and the decoder's YUV planes
// (turned into RGB as they are drawn) or RGB only. GUI thread.
LessonController::PictureFormat pictureFormatForView();
