#pragma once

#include "text/words.h"

#include <QList>
#include <QString>
#include <QStringView>

// The words a speech recogniser listens for in a sentence: written words as they are said.
// Pure functions; safe on any thread.

// One word as it is said, and the written word it is read from.
struct SpokenWord
{
    // In lower case, only letters and apostrophes (' for ’ and ʼ).
    QString word;
    // Where the written word lies in the text; "21st" gives "twenty" and "first", both from
    // the whole of "21st", and "$5" gives "five" and "dollars" from "$5".
    WordSpan source;
};

// The words of spoken text, in order. Words are those of words.h with hyphens splitting
// them; other punctuation is dropped. Titles and a few abbreviations are said in full ("Dr":
// doctor, "etc": et cetera). Numbers in ASCII digits are read as words: cardinals
// ("5,000": five thousand), ordinals ("21st": twenty first), years from 1100 to 2099
// ("1999": nineteen ninety nine, "2005": two thousand five, "1990s": nineteen nineties),
// decimals ("3.5": three point five), times ("10:30", and "10.30" when its minutes are a
// quarter hour or am/pm follows: ten thirty), money after $, £ or € ("£2.50": two pounds
// fifty) and percentages ("50%": fifty percent). A number with a leading zero or of more
// than fifteen digits is read digit by digit.
QList<SpokenWord> spokenWords(QStringView text);
