#pragma once

#include "cards/cardtext.h"
#include "speech/synthesizer.h"

#include <QCoreApplication>
#include <QString>

#include <atomic>
#include <functional>
#include <vector>

// Writes the review items as a deck of flashcards: the deck file (tab-separated text, see
// deckText) and beside it each card's sound clip, vorlyn-<item id>.mp3, and each word card's
// word said aloud, vorlyn-<item id>-word.mp3. Everything is written into a hidden folder
// beside the deck first and moved into place only when every sound succeeded, so a deck is
// there whole or not at all. Runs on the caller's thread (a
// worker's: the clips take their time).
namespace cards {

struct DeckResult
{
    enum class Outcome
    {
        Written,
        Cancelled,
        Failed,
    };
    Outcome outcome = Outcome::Failed;
    int cards = 0;
    // items left out because their lesson file is gone, no longer the one of their check,
    // or without sound
    int leftOut = 0;
    // why it failed
    QString why;
};

class DeckExport final
{
    Q_DECLARE_TR_FUNCTIONS(cards::DeckExport)

public:
    // Writes deckFile (replacing one there, which the caller has asked the learner about)
    // with a card for each of items, the words explained by notes and said in voice; a sound
    // never replaces a file it did not write. progress gets the items done so far after each,
    // on this thread. cancel is polled between sounds and while a clip is cut; when it is
    // set, or anything fails, nothing written is left behind. An item whose lesson is missing
    // is left out, not a failure; a word the synthesizer cannot say has no word sound; a deck
    // without any card is not written and is a failure.
    static DeckResult write(const QString &deckFile, const std::vector<lesson::ReviewItem> &items,
                            const WordNotes &notes, speech::Voice voice,
                            const std::atomic<bool> &cancel,
                            const std::function<void(int done)> &progress);
};

} // namespace cards
