#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>

// The dictionary's pronunciation notation: British IPA as the speech synthesizer writes it,
// reduced to what a learner can type in the lookup dialog (ASCII letters and sixteen IPA
// symbols, each stored as a decimal character reference).
namespace notation {

// Converts one IPA transcription to the stored form. Symbols the notation has no place
// for are left out and added to *dropped (when given), so the caller can report them.
QByteArray fromIpa(const QString &ipa, QSet<char32_t> *dropped = nullptr);

// The weak form of a word of one syllable in IPA: its one plain vowel reduced to ə and
// the stress left out, as the word mostly sounds unstressed in a sentence ("from" fɹˈɒm,
// fɹəm). Empty for a word with a diphthong or more than one vowel.
QString weakForm(const QString &ipa);

} // namespace notation
