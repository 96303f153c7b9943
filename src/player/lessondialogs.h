#pragma once

#include <QCoreApplication>

class LessonController;
namespace lesson {
class LessonTranslation;
}
class QMenu;
class QWidget;

// What the player asks the learner about the lesson: which file to open, its subtitles,
// its summary, forgetting it, and the drill's settings. Each works on a lesson that outlives
// it, over the parent window. GUI thread only.
class LessonDialogs
{
    Q_DECLARE_TR_FUNCTIONS(LessonDialogs)

public:
    // The media file the learner picks, or an empty string; the next pick starts in its
    // folder.
    static QString chooseMediaFile(QWidget *parent);
    // A submenu of menu listing the lesson's subtitle files and lesson texts, the one in use
    // ticked; entries that ask for a subtitle file or a lesson text of any name, one that
    // takes the clipboard's text as the lesson text, one that asks for a translation, and
    // one that saves the lesson's sentences as subtitles (disabled while it has none).
    static void addSubtitlesMenu(QMenu &menu, LessonController &lesson,
                                 lesson::LessonTranslation &translation, QWidget *parent);
    static void showSummary(LessonController &lesson, QWidget *parent);
    // Asks first, since the scores go too.
    static void forget(LessonController &lesson, QWidget *parent);
    static void chooseDrillSettings(LessonController &lesson, QWidget *parent);

private:
    // Makes the sentences of the subtitle file the learner picks the lesson's.
    static void loadSubtitles(LessonController &lesson, QWidget *parent);
    // Makes the transcript the learner picks the lesson's text.
    static void loadLessonText(LessonController &lesson, QWidget *parent);
    // Writes the lesson's sentences to the SRT, WebVTT or JSON file the learner names,
    // beside the lesson by default; says why when it cannot.
    static void saveSentences(LessonController &lesson, QWidget *parent);
    // Makes the subtitle file the learner picks the lesson's translation.
    static void loadTranslation(LessonController &lesson, lesson::LessonTranslation &translation,
                                QWidget *parent);
};
