#pragma once

#include "lesson/lessonstore.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

// The text of a deck of flashcards made from review items: each card's front and back as
// HTML, and the tab-separated file that holds them. Plain data and pure functions; any
// thread.
namespace cards {

// What the dictionary says of a word; both empty when it lacks the word.
struct WordNote
{
    QString pronunciation; // "[…]" as the dictionary writes it
    QString explanation;   // its first sense, shortened
};
// Notes by word in lower case.
using WordNotes = QHash<QString, WordNote>;

struct Card
{
    QString front;
    QString back;
};

// The card of item whose sound is the file clipName beside the deck. The front is the clip
// and the sentence with the missed word (or a sentence's missed words) blanked; a sentence
// without missed words or text asks for the whole of it. The back is the sentence with those
// words in bold, and each word's pronunciation from notes, a word's with its explanation and
// the word said aloud, the file wordSoundName beside the deck (none when empty).
// All text is escaped; a field holds neither tabs nor line breaks.
Card cardOf(const lesson::ReviewItem &item, const QString &clipName, const QString &wordSoundName,
            const WordNotes &notes);

// The deck file's text: the headers that name its separator, HTML fields and columns
// (Front, Back), then one card a line.
QString deckText(const std::vector<Card> &cards);

} // namespace cards
