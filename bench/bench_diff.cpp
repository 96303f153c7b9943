// One comparison as the comparison dialog runs it: diff_main, the semantic clean-up and
// the three renderers, for a learner's 5,000-word transcript against its reference, for
// two 20,000-line texts with 30 % of the lines changed, and for two 100,000-character
// texts, with scattered edits and unrelated, under the default time limit. Then the word
// check with its rendering, for a 40-word sentence and for the 5,000-word transcript, and the
// whole-transcript check of an hour's lesson.
#include "benchsupport.h"

#include "diff/diffengine.h"
#include "diff/diffrender.h"
#include "diff/transcriptcheck.h"
#include "diff/wordcheck.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QStringList>

#include <algorithm>

namespace {

constexpr int repetitions = 11;

const QStringList &vocabulary()
{
    static const QStringList words =
        QString::fromLatin1(
            "the of and to a in is it you that he was for on are with as I his they be at one have "
            "this from or had by hot word but what some we can out other were all there when up "
            "use "
            "your how said an each she which do their time if will way about many then them write "
            "would like so these her long make thing see him two has look more day could go come "
            "did number sound no most people my over know water than call first who may down side "
            "been now find any new work part take get place made live where after back little only "
            "round man year came show every good me give our under name very through just form "
            "sentence great think say help low line differ turn cause much mean before move right "
            "boy old too same tell does set three want air well also play small end put home read "
            "hand port large spell add even land here must big high such follow act why ask men "
            "change went light kind off need house picture try us again animal point mother world "
            "near build self earth father head stand own page should country found answer school "
            "grow study still learn plant cover food sun four between state keep eye never last")
            .split(QLatin1Char(' '));
    return words;
}

// A transcript of lines of 8 to 14 words, as a learner types sentence by sentence:
// each word with the separator that follows it.
QList<std::pair<QString, QChar>> transcript(QRandomGenerator &rng, int count)
{
    QList<std::pair<QString, QChar>> words;
    int untilBreak = 8 + rng.bounded(7);
    for (int i = 0; i < count; ++i) {
        const bool lineEnd = --untilBreak == 0;
        if (lineEnd)
            untilBreak = 8 + rng.bounded(7);
        words.append({vocabulary()[rng.bounded(int(vocabulary().size()))],
                      lineEnd ? QLatin1Char('\n') : QLatin1Char(' ')});
    }
    return words;
}

QString joined(const QList<std::pair<QString, QChar>> &words)
{
    QString text;
    for (const auto &[word, separator] : words)
        text += word + separator;
    return text;
}

// The learner's mistakes in about one word in ten: a misheard word, a misspelling or a
// missed word. Lines end after the same words as in the reference.
QList<std::pair<QString, QChar>> misheard(QRandomGenerator &rng,
                                          QList<std::pair<QString, QChar>> words)
{
    for (qsizetype i = words.size() - 1; i >= 0; --i) {
        if (rng.bounded(10) != 0)
            continue;
        QString &word = words[i].first;
        const int kind = rng.bounded(3);
        if (kind == 0) {
            word = vocabulary()[rng.bounded(int(vocabulary().size()))];
        } else if (kind == 1) {
            word[rng.bounded(int(word.size()))] = QChar(u'a' + char16_t(rng.bounded(26)));
        } else {
            if (i > 0 && words[i].second == QLatin1Char('\n'))
                words[i - 1].second = QLatin1Char('\n');
            words.removeAt(i);
        }
    }
    return words;
}

// Prose without line breaks, so that the line pass cannot split it.
QString paragraph(QRandomGenerator &rng, qsizetype length)
{
    QString text;
    while (text.size() < length) {
        text += vocabulary()[rng.bounded(int(vocabulary().size()))];
        text += QLatin1Char(' ');
    }
    text.truncate(length);
    return text;
}

// Every line of words that the generator picks (about three in ten) is typed with the
// learner's mistakes; the others stay as they are.
QString changedLines(QRandomGenerator &rng, const QList<std::pair<QString, QChar>> &words)
{
    QString text;
    QList<std::pair<QString, QChar>> line;
    for (const auto &word : words) {
        line.append(word);
        if (word.second != QLatin1Char('\n'))
            continue;
        if (rng.bounded(10) < 3) {
            QList<std::pair<QString, QChar>> typed;
            while (typed.isEmpty() || typed == line)
                typed = misheard(rng, line);
            text += joined(typed);
        } else {
            text += joined(line);
        }
        line.clear();
    }
    return text + joined(line);
}

QString scatteredEdits(QRandomGenerator &rng, QString text, int edits)
{
    for (int i = 0; i < edits; ++i) {
        const int at = rng.bounded(int(text.size()) - 8);
        const int cut = rng.bounded(6);
        text.replace(at, cut, paragraph(rng, rng.bounded(6)));
    }
    return text;
}

void measure(const char *name, const QString &text1, const QString &text2, double targetMs)
{
    std::vector<double> diffMs;
    std::vector<double> totalMs;
    qsizetype segments = 0;
    qsizetype htmlLength = 0;
    for (int r = 0; r < repetitions; ++r) {
        QElapsedTimer timer;
        timer.start();
        DiffEngine engine;
        QList<DiffSegment> result = engine.diff_main(text1, text2);
        diffMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        DiffEngine::semanticCleanup(result);
        const QString first = renderFirstTextHtml(result);
        const QString second = renderSecondTextHtml(result);
        const QString suggestion = renderSuggestionHtml(result);
        totalMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        segments = result.size();
        htmlLength = first.size() + second.size() + suggestion.size();
    }
    const bench::Summary total = bench::summarize(totalMs);
    const bench::Summary diff = bench::summarize(diffMs);
    bench::print(name, total.median, "ms",
                 QStringLiteral("\"max\": %1, \"target\": %2, \"diff_main_median\": %3, "
                                "\"diff_main_max\": %4, \"runs\": %5, \"length1\": %6, "
                                "\"length2\": %7, \"segments\": %8, \"html_units\": %9")
                     .arg(total.max, 0, 'f', 1)
                     .arg(targetMs, 0, 'f', 0)
                     .arg(diff.median, 0, 'f', 1)
                     .arg(diff.max, 0, 'f', 1)
                     .arg(repetitions)
                     .arg(text1.size())
                     .arg(text2.size())
                     .arg(segments)
                     .arg(htmlLength));
}

void measureWordCheck(const char *name, const QString &reference, const QString &learner, int runs,
                      double targetMs)
{
    std::vector<double> totalMs;
    WordCheck check;
    qsizetype htmlLength = 0;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer timer;
        timer.start();
        check = checkWords(reference, learner);
        htmlLength = renderWordCheckHtml(check).size();
        totalMs.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    const bench::Summary total = bench::summarize(totalMs);
    bench::print(name, total.median, "ms",
                 QStringLiteral("\"max\": %1, \"target\": %2, \"runs\": %3, "
                                "\"reference_words\": %4, \"errors\": %5, \"accuracy\": %6, "
                                "\"html_units\": %7")
                     .arg(total.max, 0, 'f', 3)
                     .arg(targetMs, 0, 'f', 0)
                     .arg(runs)
                     .arg(check.referenceWords)
                     .arg(check.errors())
                     .arg(check.accuracy(), 0, 'f', 3)
                     .arg(htmlLength));
}

// An hour's lesson of 800 sentences of 8 to 14 words, and a learner's running transcript of
// it on one line: one word in ten wrong, misspelt or missed, and one sentence in twenty-five
// left out.
void measureTranscriptCheck(QRandomGenerator &rng, double targetMs)
{
    QStringList sentences;
    QString typed;
    for (int s = 0; s < 800; ++s) {
        const QList<std::pair<QString, QChar>> words = transcript(rng, 8 + rng.bounded(7));
        QString sentence;
        for (const auto &word : words)
            sentence += word.first + QLatin1Char(' ');
        sentences.append(sentence.trimmed() + QLatin1Char('.'));
        if (rng.bounded(25) != 0) {
            for (const auto &word : misheard(rng, words))
                typed += word.first + QLatin1Char(' ');
        }
    }
    std::vector<double> totalMs;
    qsizetype checked = 0;
    for (int r = 0; r < 5; ++r) {
        QElapsedTimer timer;
        timer.start();
        const QList<SentenceCheck> checks = checkTranscript(typed, sentences);
        totalMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        checked = std::count_if(checks.begin(), checks.end(),
                                [](const SentenceCheck &c) { return c.typed; });
    }
    const bench::Summary total = bench::summarize(totalMs);
    bench::print("transcriptcheck_800_sentences_ms", total.median, "ms",
                 QStringLiteral("\"max\": %1, \"target\": %2, \"runs\": 5, \"sentences\": %3, "
                                "\"typed_units\": %4, \"checked\": %5")
                     .arg(total.max, 0, 'f', 1)
                     .arg(targetMs, 0, 'f', 0)
                     .arg(sentences.size())
                     .arg(typed.size())
                     .arg(checked));
}

} // namespace

int main()
{
    QRandomGenerator rng(13u);
    const QList<std::pair<QString, QChar>> reference = transcript(rng, 5000);
    const QString transcript1 = joined(reference);
    const QString transcript2 = joined(misheard(rng, reference));
    measure("diff_transcripts_5000_words_ms", transcript1, transcript2, 50);

    const QString prose1 = paragraph(rng, 100000);
    const QString prose2 = scatteredEdits(rng, prose1, 300);
    // The default time limit of 1 s, plus 20 %.
    measure("diff_100000_units_scattered_edits_ms", prose1, prose2, 1200);
    // Two unrelated texts of the same words: the search runs into the time limit.
    measure("diff_100000_units_unrelated_ms", prose1, paragraph(rng, 100000), 1200);

    // Lines of 8 to 14 words, so 20,000 lines hold about 220,000 words.
    const QList<std::pair<QString, QChar>> lines = transcript(rng, 220000);
    const QString lines1 = joined(lines);
    const QString lines2 = changedLines(rng, lines);
    measure("diff_20000_lines_30_percent_changed_ms", lines1, lines2, 1200);

    // A spoken sentence of 40 words with contractions, numbers and punctuation, and a
    // learner's try with misheard, misspelt and extra words, a contraction typed out and
    // numbers typed in words.
    const QString sentence = QStringLiteral(
        "When we got to the station at 7 o'clock, the train to London had left; we didn't "
        "know what to do. It's a long way, and the next one wasn't due until 21 minutes past "
        "eight, which felt like hours.");
    const QString typedSentence = QStringLiteral(
        "when we got to the nation at seven o'clock the train to London had left already we "
        "did not know what to do its a long long way and the next one wasn't due until "
        "twenty-one minutes past eight which felt like ours");
    measureWordCheck("wordcheck_sentence_40_words_ms", sentence, typedSentence, 201, 5);
    // Lower case and line ends in the learner's text, and one word in ten wrong or missed.
    measureWordCheck("wordcheck_transcript_5000_words_ms", transcript1, transcript2.toLower(),
                     repetitions, 50);
    measureTranscriptCheck(rng, 500);
    return 0;
}
