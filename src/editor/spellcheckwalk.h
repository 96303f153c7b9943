#pragma once

#include <QHash>
#include <QString>
#include <QTextCursor>

class QTextDocument;
class SpellingEngine;

// The document spell check without its dialog: walks the words of a document in order,
// as the shared word segmentation finds them, stops at each one the engine rejects, and
// applies the answers. Words answered with "replace all" are replaced without a stop for
// the rest of the walk. Keeps cursors into the document, so it follows edits made while a
// word is asked about. Borrows the document and the engine, which outlive it. GUI thread.
class SpellCheckWalk final
{
public:
    enum class Step
    {
        End,     // no word after the last one
        Checked, // one more word, accepted or replaced by an earlier "replace all"
        Ask      // one more word the engine rejects: word() selects it
    };

    SpellCheckWalk(QTextDocument *document, const SpellingEngine &engine);

    // Moves on by one word. One word per call, so the caller can let events run between.
    Step step();
    // The word the last step stopped at, selected; follows edits since.
    QTextCursor word() const { return walker; }
    // Replaces the word asked about.
    void replace(const QString &replacement);
    // Replaces it and every later occurrence of the same word.
    void replaceAll(const QString &replacement);

private:
    QTextDocument *doc;
    const SpellingEngine &engine;
    // Where the next step looks for a word: after the last one, wherever edits and
    // replacements since have moved it.
    QTextCursor resume;
    QTextCursor walker;
    QString asked;
    // Words answered with "replace all", and what they become.
    QHash<QString, QString> replacements;
};
