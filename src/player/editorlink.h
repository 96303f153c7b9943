#pragma once

#include "player/windowplacement.h"

#include <QObject>
#include <QStringList>

class LessonController;
class ProgressWindow;
class TextEdit;
class Vk;

// How the dictation editor and the player work together: the keys the editor forwards run
// the player's commands, the transcript follows the lesson the player opens, files handed
// over or dropped on either window go where their kind belongs, the check scores the
// editor's text against the lesson, the learner's progress shows over the player with its
// missed words looked up by the editor's phonetic lookup, and the editor opens beside the
// player, its place kept for the next start. Neither window knows the other. GUI thread only.
class EditorLink final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EditorLink)

public:
    // All three outlive the link.
    EditorLink(Vk &player, TextEdit &editor, LessonController &lesson, QObject *parent = nullptr);

    // Opens files as the learner handed them over (command line, a later copy of the
    // program, a drop), each by its content: a media file becomes the lesson, a document
    // the editor's document (its transcript rules apply when a lesson opens after it). One
    // of each; the rest, and files that are neither or cannot be read, are named in one
    // message, and nothing open is lost.
    void openFiles(const QStringList &files);
    // Shows the editor; the first time, beside the player unless it has a remembered place.
    void showEditor();

public slots:
    // A key of a player command, forwarded by the editor, as
    // QKeyCombination::toCombined() gives it.
    void keyDelegateTrigger(int key);
    void toggleEditor();
    // Scores the editor's text for the sentence (its selection, else the paragraph at its
    // cursor) against the text of the sentence the loop spans, or of the one under the
    // playhead; keeps the score and what it missed for review, and shows the result in the
    // editor.
    void checkSentence();
    // Checks the editor's whole text against all the lesson's sentences in order, keeps the
    // score and what was missed of every sentence found in it, and shows a summary.
    void checkTranscript();
    // Shows the learner's progress over all lessons, brought up to date, in its one window
    // (a child of the player), which follows the checks while it is open.
    void showProgress();

private:
    // Tells the editor which keys to hand over: those of the commands it may reach.
    void forwardPlayerKeys();
    // The progress window shows the store's progress as of today.
    void refreshProgress();

    Vk &player_;
    TextEdit &editor_;
    LessonController &lesson_;
    ProgressWindow *progress = nullptr; // child of the player, made when first asked for
    // Whether the editor has its place: remembered, or set beside the player.
    bool editorPlaced = false;
    placement::Keeper editorPlace;
};
