#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// A publisher's transcript as sentences to drill: Unicode's sentence rules, with the
// exceptions real transcripts need on top (abbreviations, hard-wrapped lines, headings,
// speaker labels and stage directions). Pure functions; safe on any thread.

// One sentence of a transcript.
struct TranscriptSentence
{
    // Where the sentence lies in the transcript, in code units, after any speaker label.
    qsizetype start = 0;
    qsizetype end = 0;
    // The sentence as shown, whitespace normalised, stage directions ("[laughs]") kept.
    QString text;
    // What is said: text without its stage directions; empty when nothing is said, as in a
    // line that is only a stage direction. Only sentences with spoken text are aligned.
    QString spoken;
    // The name of the label ("NEIL", "Dr Smith") that began the turn the sentence is in;
    // empty before the first label.
    QString speaker;

    bool isSpoken() const { return !spoken.isEmpty(); }
};

// The sentences of a transcript's plain text, in order. A sentence ends at its final
// punctuation, but not after a title ("Mr.", "Dr."), "e.g." or an initial, nor before a
// word in lower case, nor at an ellipsis before "I"; after "etc.", "U.S.", "a.m." and the
// like only before a word that usually opens a sentence. Lines of a paragraph join; a
// blank line, a speaker label at the start of a line ("NEIL:", "Dr Smith:", a capitalised
// name of up to three words), a line of stage directions alone and a heading each end a
// sentence. A heading is a line of up to eight words without final punctuation, half as
// long as the text's lines usually are (or as the next line, when that starts with a
// capital); it ends the speaker's turn. Stage directions are bracketed: anything in square
// brackets, or up to three words of letters in parentheses that are not an aside ("(music)"
// is one, "(the linguist)" is not). Sentences without a word or a stage direction are left
// out.
QList<TranscriptSentence> splitTranscript(QStringView text);

// Text without its stage directions, whitespace normalised: what is said, and what a learner
// writes down.
QString withoutStageDirections(QStringView text);
