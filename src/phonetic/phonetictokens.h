#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <map>
#include <string>

// Translation of a typed pronunciation into the dictionary's 8-bit notation, in which
// every IPA symbol is a decimal character reference. Pure functions over a constant
// table; safe on any thread.

// Typed token (one or two UTF-16 code units) to its stored form. std::u16string compares
// code unit by code unit, so a two-unit token sorts directly after its one-unit prefix,
// which is the order the token walk relies on.
using PhoneticTokenTable = std::map<std::u16string, std::string>;

// The 58 tokens. Constant and built before first use, so no caller has to fill it and no
// thread can see it half filled.
const PhoneticTokenTable &phoneticTokens();

// input with every symbol in the stored notation's alphabet, folded as the dictionary
// build folds the synthesizer's symbols ("lɪsn" becomes "lisn", "ʊ" "u", "eə" "ɛə"). ASCII
// and symbols the notation has no place for stay as typed.
QString toNotationAlphabet(QStringView input);

// True when input is not empty and the token walk consumes all of it.
bool isPhoneticSequence(QStringView input);

// The REGEXP pattern for input: every token's stored form followed by ".*", unanchored.
// Empty input, or input the walk cannot consume, gives an empty pattern instead of walking
// forever; so the pattern is empty exactly when isPhoneticSequence is false.
QByteArray phoneticToPattern(QStringView input);

// The same pattern for a learner's typing, with the letters learners type for vowels
// they cannot reach standing for each of them: a for ɑ or æ, o for ɔ or o, e for e or ɛ,
// ə for ə or ʌ.
QByteArray learnerToPattern(QStringView input);

// stored with the 16 character references of the notation replaced by their symbols;
// other references and text stay as they are.
QString decodeEntities(const QString &stored);
