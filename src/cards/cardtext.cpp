#include "cards/cardtext.h"

#include "text/words.h"

#include <QCoreApplication>

#include <functional>

namespace cards {

namespace {

const QLatin1String blank("_____");

// Plain text as one line of HTML: line breaks and tabs become spaces, markup is escaped.
QString escaped(const QString &text)
{
    QString line = text;
    for (QChar &c : line) {
        if (c == u'\t' || c == u'\n' || c == u'\r' || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = u' ';
    }
    return line.toHtmlEscaped();
}

// text as HTML with each of words (whole words, whatever their case) replaced by what mark
// makes of it; the rest escaped. Words are those the word check counts.
QString markedWords(const QString &text, const QStringList &words,
                    const std::function<QString(const QString &)> &mark)
{
    QString html;
    qsizetype at = 0;
    for (WordSpan w = wordFrom(text, 0, Hyphens::Split); w.isValid();
         w = wordFrom(text, w.end(), Hyphens::Split)) {
        const QString word = text.mid(w.start, w.length);
        if (!words.contains(word, Qt::CaseInsensitive))
            continue;
        html += escaped(text.mid(at, w.start - at)) + mark(word);
        at = w.end();
    }
    return html + escaped(text.mid(at));
}

// "word [pronunciation]", and its explanation when withExplanation, as HTML.
QString noteOf(const QString &word, const WordNotes &notes, bool withExplanation)
{
    const WordNote note = notes.value(word.toLower());
    QString html = QLatin1String("<b>") + escaped(word) + QLatin1String("</b>");
    if (!note.pronunciation.isEmpty())
        html += u' ' + escaped(note.pronunciation);
    if (withExplanation && !note.explanation.isEmpty())
        html += QLatin1String("<br>") + escaped(note.explanation);
    return html;
}

// A sound file's mark in a field, which flashcard programs play.
QString soundMark(const QString &fileName)
{
    return QLatin1String("[sound:") + escaped(fileName) + u']';
}

} // namespace

Card cardOf(const lesson::ReviewItem &item, const QString &clipName, const QString &wordSoundName,
            const WordNotes &notes)
{
    const bool isWord = item.kind == lesson::ReviewItem::Kind::Word;
    const QStringList missed = isWord ? QStringList{item.word} : item.missedWords;
    const QString sound = soundMark(clipName);
    bool blanked = false;
    const QString front = markedWords(item.text, missed, [&blanked](const QString &) {
        blanked = true;
        return QString(blank);
    });
    Card card;
    // a sentence with no word blanked (none missed, or none found in its text) is written
    // down whole
    card.front = sound + QLatin1String("<br>") +
                 (blanked ? front
                          : QCoreApplication::translate("cards::Card", "Write down what you hear.")
                                .toHtmlEscaped());
    card.back = markedWords(item.text, missed, [](const QString &word) {
        return QLatin1String("<b>") + escaped(word) + QLatin1String("</b>");
    });
    for (const QString &word : missed)
        card.back += QLatin1String("<br>") + noteOf(word, notes, isWord);
    if (isWord && !wordSoundName.isEmpty())
        card.back += QLatin1String("<br>") + soundMark(wordSoundName);
    return card;
}

QString deckText(const std::vector<Card> &cards)
{
    QString text = QStringLiteral("#separator:tab\n#html:true\n#columns:Front\tBack\n");
    for (const Card &card : cards)
        text += card.front + u'\t' + card.back + u'\n';
    return text;
}

} // namespace cards
