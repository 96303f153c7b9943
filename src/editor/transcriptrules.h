#pragma once

#include <QString>

// The editor's document as the transcript rules see it.
struct TranscriptDocument
{
    QString fileName;    // its own file; empty while untitled
    QString lessonMedia; // the media file whose transcript it is; empty for any other document
    bool modified = false;
    // the media file (absolute) handed over together with the document, in the same command
    // line or drop; empty for a document opened on its own
    QString handedWith;
};

// What the editor does once the document's own file is up to date, when the player opens a
// media file.
struct LessonSwitch
{
    enum class Then
    {
        KeepUntitled,   // keep the typing, untitled, for the learner to name; the switch fails
        LoadTranscript, // load the transcript typed last time
        StartTranscript // save the document as the lesson's transcript
    };
    Then then = Then::StartTranscript;
    QString transcript; // "<media file>.html"
    QString media;      // the media file, absolute
    bool clear = false; // StartTranscript: the transcript starts empty
};

// Which document is the transcript of which lesson, and what happens to the editor's
// document when a lesson opens or the program ends: one lesson's typing never lands in
// another lesson's file, an existing transcript is never overwritten, the practice guide
// is never written. Holds no state; reads the file system; any thread.
class TranscriptRules final
{
public:
    TranscriptRules() = delete;

    // The media file whose transcript path is: "<media>.html" beside an existing media file,
    // whichever way the document came (player, File > Open, argument, Save As). Empty for
    // any other document.
    static QString lessonOf(const QString &path);
    // Whether the document's pending typing goes to its own file: before a lesson replaces
    // the document, so that it is never written under another name, and quietly when the
    // program ends, where no save prompt can be asked. Never into the guide.
    static bool savesToOwnFile(const TranscriptDocument &doc);
    // When the media file at mediaPath becomes the lesson, with that save done: what
    // becomes of the document.
    static LessonSwitch switchTo(const QString &mediaPath, const TranscriptDocument &doc);

private:
    // Whether fileName is the practice guide shipped with the program.
    static bool isGuide(const QString &fileName);
};
