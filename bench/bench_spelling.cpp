// Time of a full spell-check highlight of a 10,000-word transcript, as after pasting it:
// the highlighter alone on a document, and setting the text of the checking edit (highlight
// and layout). The text is drawn from the run tree's en_US word list with one word in
// twenty misspelled; run from the run tree.
#include "benchsupport.h"

#include "spelling/ctextcheckeredit.h"
#include "spelling/ctextsyntaxhighlighter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <functional>

namespace {

QStringList dictionaryWords()
{
    QFile dic(QStringLiteral("./spell/dict/en_US.dic"));
    QStringList words;
    if (!dic.open(QIODevice::ReadOnly | QIODevice::Text))
        return words;
    dic.readLine(); // the word count
    while (!dic.atEnd()) {
        const QString word =
            QString::fromUtf8(dic.readLine()).section(QLatin1Char('/'), 0, 0).trimmed();
        if (word.size() > 1 &&
            std::all_of(word.begin(), word.end(), [](QChar c) { return c.isLetter(); }))
            words.append(word);
    }
    return words;
}

// Sentences of 6 to 18 words with an occasional comma, paragraphs of about 100 words.
QString transcript(const QStringList &words, int count, int *misspelled)
{
    QRandomGenerator random(20261207);
    QString text;
    int inSentence = 0;
    int sentenceLength = 0;
    for (int i = 0; i < count; ++i) {
        QString word = words.at(random.bounded(int(words.size())));
        if (i % 20 == 19 && word.size() > 3) {
            std::swap(word[1], word[2]);
            ++*misspelled;
        }
        if (inSentence == 0) {
            sentenceLength = random.bounded(6, 19);
            word[0] = word[0].toUpper();
        }
        text += word;
        if (++inSentence == sentenceLength) {
            text += QLatin1Char('.');
            inSentence = 0;
            text += (i + 1) % 100 < 12 ? QLatin1Char('\n') : QLatin1Char(' ');
        } else {
            text += random.bounded(10) == 0 ? QStringLiteral(", ") : QStringLiteral(" ");
        }
    }
    return text;
}

// Underlined ranges, to show that the timed highlight did find the misspellings.
int markedRanges(const QTextDocument &document)
{
    int marked = 0;
    for (QTextBlock b = document.firstBlock(); b.isValid(); b = b.next())
        for (const QTextLayout::FormatRange &r : b.layout()->formats())
            marked += r.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline;
    return marked;
}

bench::Summary timeRuns(int runs, const std::function<void()> &run)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return bench::summarize(ms);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList words = dictionaryWords();
    if (words.isEmpty()) {
        std::fprintf(stderr, "no word list in ./spell/dict\n");
        return 1;
    }
    const int wordCount = 10000;
    int misspelled = 0;
    const QString text = transcript(words, wordCount, &misspelled);

    CTextCheckerEdit edit; // builds the shared engine the highlighters use
    edit.resize(800, 600);
    edit.show();
    const int runs = 15;
    const QString info = QStringLiteral("\"words\": %1, \"misspelled\": %2, \"runs\": %3, "
                                        "\"target_ms\": 150")
                             .arg(wordCount)
                             .arg(misspelled)
                             .arg(runs);

    QTextDocument document;
    document.setPlainText(text);
    auto *highlighter = new CTextSyntaxHighlighter(&document);
    const bench::Summary highlight = timeRuns(runs, [&] { highlighter->rehighlight(); });
    bench::print("spelling_full_highlight_10000_words_median", highlight.median, "ms",
                 info + QStringLiteral(", \"max\": %1, \"marked\": %2")
                            .arg(highlight.max, 0, 'f', 4)
                            .arg(markedRanges(document)));

    const bench::Summary paste = timeRuns(runs, [&] {
        edit.clear();
        edit.setPlainText(text);
    });
    bench::print("spelling_edit_set_text_10000_words_median", paste.median, "ms",
                 info + QStringLiteral(", \"max\": %1, \"marked\": %2")
                            .arg(paste.max, 0, 'f', 4)
                            .arg(markedRanges(*edit.document())));
    return 0;
}
