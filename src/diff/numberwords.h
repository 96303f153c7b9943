#pragma once

#include "diff/wordsplit.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <utility>

// Numbers as the word check compares them: written in digits or in words, each number becomes
// one key ("#21", "#1th" for "first"), so "21" and "twenty-one" are the same word. Pure
// functions; callable from any thread.

namespace wordcheck {

// "21", "5,000" and "21st" as number keys; nothing for other words, for decimals, for
// leading zeros and for more than twelve digits.
std::optional<QString> digitKey(QStringView word);

// Reads the cardinal or ordinal that number words spell from words[from]: its key and the
// number of words it takes, or nothing when no number starts there.
std::optional<std::pair<QString, qsizetype>> readNumberWords(const QList<RawWord> &words,
                                                             qsizetype from);

// Whether a token's key is a number's.
inline bool isNumberKey(const QString &key)
{
    return key.startsWith(u'#');
}

} // namespace wordcheck
