#include "cards/wordnotes.h"

#include "phonetic/phoneticdictionary.h"

namespace cards {

namespace {

// A card's explanation: the first sense, cut at a word's end if it is long.
constexpr qsizetype longestExplanation = 160;

QString shortened(const QString &explanation)
{
    QString first = explanation.section(u'\n', 0, 0).trimmed();
    if (first.size() <= longestExplanation)
        return first;
    const qsizetype space = first.lastIndexOf(u' ', longestExplanation);
    first.truncate(space > 0 ? space : longestExplanation);
    return first + u'\u2026';
}

} // namespace

WordNotes lookUpWords(const std::vector<lesson::ReviewItem> &items)
{
    WordNotes notes;
    PhoneticDictionary dictionary;
    for (const lesson::ReviewItem &item : items) {
        const QStringList words =
            item.kind == lesson::ReviewItem::Kind::Word ? QStringList{item.word} : item.missedWords;
        for (const QString &word : words) {
            const QString key = word.toLower();
            if (notes.contains(key))
                continue;
            // a capital at a sentence's start is no part of the entry's caption
            QStringList entry = dictionary.lookupWord(word.toUtf8());
            if (entry.size() < 3 && key != word)
                entry = dictionary.lookupWord(key.toUtf8());
            notes.insert(key, entry.size() < 3 ? WordNote{}
                                               : WordNote{entry.at(1), shortened(entry.at(2))});
        }
    }
    return notes;
}

} // namespace cards
