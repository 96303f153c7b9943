#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// A lesson's text: the publisher's transcript of what is said, as a text, Markdown, HTML
// or PDF file, read into plain text for the sentence split. Free functions; any thread.
// Markdown and HTML are read by Qt Gui's text document, which wants a QGuiApplication
// (without one, Markdown headings warn about their font size).
namespace lesson {

// Transcripts beside mediaFile with its base name, the one to use by default first:
// "lesson.txt", "lesson.md", "lesson.html", "lesson.htm", "lesson.pdf", then the
// language-tagged ones ("lesson.en.txt", "lesson.en-GB.html") in the same order; never the
// learner's own transcript ("lesson.mp4.html").
// Subtitles beside a lesson are found by the same rule.
QStringList lessonTextFilesBeside(const QString &mediaFile);

// The text of a transcript, plain, with lines ending in "\n": text and Markdown files
// decoded in the encoding they are in (Markdown's markup removed), HTML in the charset
// its <meta> tag declares or else the one detected (scripts and styles left out), and a
// PDF's text layer, its pages apart by a blank line. Words hyphenated at a line's end stay
// as they are. Nothing, with why saying so, when the file cannot be read, is over 20 MB,
// has no text, or is a PDF that is damaged, locked or only images.
std::optional<QString> readLessonText(const QString &file, QString *why);

// Whether file is named as a lesson text is (by its suffix), not as subtitles.
bool isLessonTextFile(const QString &file);

} // namespace lesson
