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

} // namespace notation
