#pragma once

#include "diff/wordcheck.h"

#include <QList>
#include <QString>
#include <QStringList>

// Checks a running transcript against all the sentences of a lesson at once. Pure functions;
// callable from any thread.

// What the learner typed for one sentence and its check.
struct SentenceCheck
{
    // Whether any of the learner's words was matched to the sentence (a wrong word alone is
    // not): a sentence left out has no check.
    bool typed = false;
    // The learner's words for the sentence: text.mid(from, to - from) of the checked text.
    qsizetype from = 0;
    qsizetype to = 0;
    // As checkBestStretch() scores the sentence against those words.
    WordCheck check;
};

// Aligns the words of text, as the word check reads them, with the words of all sentences
// one after another, and checks each sentence against the stretch of text the alignment gives
// it; one entry per sentence. Text typed for one sentence is never charged to another, text
// matching no sentence (a title, a note) to none, and a sentence left out costs its neighbours
// nothing.
QList<SentenceCheck> checkTranscript(const QString &text, const QStringList &sentences,
                                     const SoundsAlike &soundsAlike = {});
