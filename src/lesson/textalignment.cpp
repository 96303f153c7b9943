#include "lesson/textalignment.h"

#include "align/aligner.h"
#include "lesson/cachefile.h"
#include "lesson/lessontext.h"
#include "lesson/subtitlewriter.h"
#include "text/spokenwords.h"
#include "text/transcript.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>

#include <algorithm>

namespace lesson {

namespace {

// Sentences are padded as subtitle cues are, and a sentence's ends move to the edge of a
// pause of the speech pass this near, which follows the sound more closely than word times.
constexpr double padBefore = 0.15;
constexpr double padAfter = 0.25;
constexpr double snapSeconds = 0.15;
// Longer speech is split so that a drill step stays short; no part is shorter than this.
constexpr double longestSpeech = 12.0;
constexpr double shortestPart = 2.0;
// A text of which fewer of the sentences are heard is probably not this recording's.
constexpr double fewHeard = 0.5;
// Placed words longer than this on average, or covering less than the third figure's share
// of a sentence longer than the second, are not speech the text says.
constexpr double secondsPerWordAtMost = 1.0;
constexpr double drawnOutSeconds = 3.0;
constexpr double leastSaidShare = 0.5;

// A sentence of the text on its way to becoming a loop step: its shown text, its spoken
// words with their place in that text, and their times once placed.
struct Draft
{
    QString text;
    QList<SpokenWord> words; // source spans are in text
    align::SentenceTimes times;
    double onset = 0;  // the first placed word's start
    double offset = 0; // the last placed word's end
};

// The spoken words of a sentence with their spans moved from its spoken text (stage
// directions removed) into its shown text, found in order. A word not found keeps no span.
QList<SpokenWord> wordsInText(const TranscriptSentence &sentence)
{
    const QList<SpokenWord> said = spokenWords(sentence.spoken);
    QList<SpokenWord> words = said;
    qsizetype from = 0;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const WordSpan written = words[i].source;
        // "21st" reads as two words from one written word: the second takes the first's place
        if (i > 0 && written == said[i - 1].source) {
            words[i].source = words[i - 1].source;
            continue;
        }
        const qsizetype at = sentence.text.indexOf(
            QStringView(sentence.spoken).sliced(written.start, written.length), from);
        words[i].source = at < 0 ? WordSpan{} : WordSpan{at, written.length};
        if (at >= 0)
            from = at + written.length;
    }
    return words;
}

// Splits a draft whose speech is longer than longestSpeech where a comma, semicolon or colon
// follows a word, else at the longest gap between words, keeping every part at least
// shortestPart long; the parts go to out in order.
void splitLong(Draft draft, std::vector<Draft> &out)
{
    const auto &times = draft.times.words;
    if (draft.offset - draft.onset <= longestSpeech ||
        draft.times.placement == align::Placement::Skipped) {
        out.push_back(std::move(draft));
        return;
    }
    int best = -1;
    double bestScore = 0;
    for (int i = 1; i < draft.words.size(); ++i) {
        const align::WordTime &before = times[size_t(i - 1)];
        const align::WordTime &after = times[size_t(i)];
        if (!before.isPlaced() || !after.isPlaced() || !draft.words[i].source.isValid() ||
            !draft.words[i - 1].source.isValid())
            continue;
        if (before.end - draft.onset < shortestPart || draft.offset - after.start < shortestPart)
            continue;
        const QStringView between =
            QStringView(draft.text)
                .sliced(draft.words[i - 1].source.end(),
                        draft.words[i].source.start - draft.words[i - 1].source.end());
        const bool punctuated = between.contains(u',') || between.contains(u';') ||
                                between.contains(u':') || between.contains(u'\u2014');
        // a punctuated gap wins over any bare one; among equals the one nearer the middle,
        // unless another is a much longer pause
        const double middle = (draft.onset + draft.offset) / 2;
        const double score = (punctuated ? 100.0 : 0.0) + (after.start - before.end) -
                             std::abs(before.end - middle) / 4;
        if (best < 0 || score > bestScore) {
            best = i;
            bestScore = score;
        }
    }
    if (best < 0) {
        out.push_back(std::move(draft));
        return;
    }
    // word spans start at a word, so the second part's text begins at the cut
    const qsizetype cut = draft.words[best].source.start;
    Draft first, second;
    first.text = draft.text.left(cut).trimmed();
    second.text = draft.text.mid(cut);
    for (int i = 0; i < draft.words.size(); ++i) {
        Draft &part = i < best ? first : second;
        SpokenWord w = draft.words[i];
        if (i >= best && w.source.isValid())
            w.source.start -= cut;
        part.words.append(w);
        part.times.words.push_back(times[size_t(i)]);
    }
    for (Draft *part : {&first, &second}) {
        part->times.placement = draft.times.placement;
        const auto placed = [](const align::WordTime &t) { return t.isPlaced(); };
        const auto firstPlaced =
            std::find_if(part->times.words.begin(), part->times.words.end(), placed);
        const auto lastPlaced =
            std::find_if(part->times.words.rbegin(), part->times.words.rend(), placed);
        part->onset = firstPlaced->start;
        part->offset = lastPlaced->end;
    }
    splitLong(std::move(first), out);
    splitLong(std::move(second), out);
}

// The edge of a pause within snapSeconds of seconds, the nearest; seconds without one.
double snapped(double seconds, const std::vector<Pause> &pauses, bool pauseEnd)
{
    double best = seconds;
    double distance = snapSeconds;
    for (const Pause &p : pauses) {
        const double edge = pauseEnd ? p.end : p.start;
        if (std::abs(edge - seconds) <= distance) {
            distance = std::abs(edge - seconds);
            best = edge;
        }
    }
    return best;
}

QByteArray alignmentKey(const QString &mediaFile, const QString &text)
{
    const QByteArray lesson = cache::lessonKey(mediaFile);
    if (lesson.isEmpty())
        return {};
    return lesson + '\n' + QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1);
}

const QByteArray magic("VLALIGNS");
constexpr quint32 version = 1;
const QString folder = QStringLiteral("alignments");

} // namespace

std::optional<Sentences> alignLessonText(const QString &text, const QString &origin,
                                         const LessonSound &sound, const std::vector<Pause> &pauses,
                                         const std::atomic<bool> &cancel,
                                         const std::function<void(double)> &progress, QString *why)
{
    if (why)
        why->clear();
    std::vector<Draft> drafts;
    std::vector<std::vector<QString>> words;
    for (const TranscriptSentence &sentence : splitTranscript(text)) {
        if (!sentence.isSpoken())
            continue;
        Draft draft;
        draft.text = sentence.text;
        draft.words = wordsInText(sentence);
        if (draft.words.isEmpty())
            continue;
        std::vector<QString> said;
        for (const SpokenWord &w : draft.words)
            said.push_back(w.word);
        words.push_back(std::move(said));
        drafts.push_back(std::move(draft));
    }
    if (drafts.empty()) {
        if (why)
            *why = QCoreApplication::translate("lesson::TextAlignment",
                                               "The lesson text has no sentences to listen for.");
        return std::nullopt;
    }
    const align::Alignment aligned = align::alignWords(sound.samples, words, cancel, progress);
    if (aligned.outcome == align::Outcome::Cancelled)
        return std::nullopt;
    if (aligned.outcome == align::Outcome::NoModel) {
        if (why)
            *why = QCoreApplication::translate(
                       "lesson::TextAlignment",
                       "The speech recogniser's English model is not installed (%1): the lesson "
                       "text cannot be placed in the sound.")
                       .arg(align::modelFolder());
        return std::nullopt;
    }

    std::vector<Draft> placed;
    for (size_t i = 0; i < drafts.size(); ++i) {
        Draft &draft = drafts[i];
        draft.times = aligned.sentences[i];
        for (align::WordTime &t : draft.times.words) {
            if (t.isPlaced()) {
                t.start += sound.start;
                t.end += sound.start;
            }
        }
        const auto isPlaced = [](const align::WordTime &t) { return t.isPlaced(); };
        const auto first =
            std::find_if(draft.times.words.begin(), draft.times.words.end(), isPlaced);
        if (draft.times.placement == align::Placement::Skipped ||
            first == draft.times.words.end()) {
            draft.times.placement = align::Placement::Skipped;
            placed.push_back(std::move(draft));
            continue;
        }
        draft.onset = first->start;
        draft.offset =
            std::find_if(draft.times.words.rbegin(), draft.times.words.rend(), isPlaced)->end;
        splitLong(std::move(draft), placed);
    }

    Sentences result;
    result.source = SentenceSource::LessonText;
    result.origin = origin;
    // a sentence not heard lies between the speech of its neighbours
    for (size_t i = 0; i < placed.size(); ++i) {
        Draft &d = placed[i];
        if (d.times.placement != align::Placement::Skipped)
            continue;
        d.onset = i > 0 ? placed[i - 1].offset : sound.start;
        double next = sound.start + double(sound.samples.size()) / align::sampleRate;
        for (size_t j = i + 1; j < placed.size(); ++j) {
            if (placed[j].times.placement != align::Placement::Skipped) {
                next = placed[j].onset;
                break;
            }
        }
        // the sentences not heard between two heard ones share the stretch between them
        size_t run = 1;
        while (i + run < placed.size() &&
               placed[i + run].times.placement == align::Placement::Skipped)
            ++run;
        const double share = std::max(0.0, next - d.onset) / double(run);
        for (size_t k = 0; k < run; ++k) {
            placed[i + k].onset = d.onset + share * double(k);
            placed[i + k].offset = placed[i + k].onset + share;
        }
        i += run - 1;
    }
    for (size_t i = 0; i < placed.size(); ++i) {
        const Draft &d = placed[i];
        const bool skipped = d.times.placement == align::Placement::Skipped;
        if (!(d.offset > d.onset)) {
            result.notes += QCoreApplication::translate(
                                "lesson::TextAlignment",
                                "The sentence \"%1\" was not heard, and there is no room for it "
                                "between its neighbours; it was left out.")
                                .arg(d.text);
            continue;
        }
        Sentence s;
        s.text = d.text;
        const double onset = skipped ? d.onset : snapped(d.onset, pauses, true);
        const double offset = skipped ? d.offset : snapped(d.offset, pauses, false);
        const double before = i == 0 ? -1e9 : (placed[i - 1].offset + onset) / 2;
        const double after = i + 1 == placed.size() ? 1e18 : (offset + placed[i + 1].onset) / 2;
        s.start = skipped ? onset : std::max(onset - padBefore, before);
        s.end = skipped ? offset : std::max(offset, std::min(offset + padAfter, after));
        if (!result.items.empty())
            s.start = std::max(s.start, result.items.back().end);
        // words drawn out far beyond speech, or scattered over a stretch mostly between them,
        // are the grammar forced onto other sound
        double said = 0;
        for (const align::WordTime &t : d.times.words)
            said += t.isPlaced() ? t.end - t.start : 0;
        const double span = d.offset - d.onset;
        const bool drawnOut =
            span > drawnOutSeconds &&
            (span / double(d.words.size()) > secondsPerWordAtMost || said < leastSaidShare * span);
        s.unsure = skipped ? Unsure::NotHeard
                   : d.times.placement == align::Placement::MuchGarbage || drawnOut
                       ? Unsure::OtherSound
                       : Unsure::No;
        for (int w = 0; w < d.words.size(); ++w) {
            const align::WordTime &t = d.times.words[size_t(w)];
            if (!t.isPlaced() || !d.words[w].source.isValid())
                continue;
            // two words read from one written word ("21st") are one highlight
            if (!s.words.empty() && s.words.back().from == d.words[w].source.start) {
                s.words.back().end = t.end;
                continue;
            }
            s.words.push_back({d.words[w].source.start, d.words[w].source.length, t.start, t.end});
        }
        result.items.push_back(std::move(s));
    }
    const auto heard =
        std::count_if(result.items.begin(), result.items.end(),
                      [](const Sentence &item) { return item.unsure == Unsure::No; });
    if (double(heard) < fewHeard * double(result.items.size()))
        result.notes.prepend(QCoreApplication::translate(
                                 "lesson::TextAlignment",
                                 "Only %1 of the %2 sentences of the lesson text were heard in the "
                                 "lesson: is it the text of this recording?")
                                 .arg(heard)
                                 .arg(result.items.size()));
    return result;
}

bool alignToFile(const QString &mediaFile, const QString &textFile, const QString &outputFile,
                 QString *why, QStringList *notes)
{
    const std::optional<QString> text = readLessonText(textFile, why);
    if (!text)
        return false;
    const std::atomic<bool> never{false};
    LessonSound sound;
    std::optional<Sentences> sentences = cachedTextAlignment(mediaFile, *text);
    if (!sentences) {
        const std::optional<SpeechAnalysis> analysis = analyseSpeech(mediaFile, never, {}, &sound);
        if (!analysis) {
            if (why)
                *why = QCoreApplication::translate("lesson::TextAlignment",
                                                   "%1 has no sound this program can read.")
                           .arg(QDir::toNativeSeparators(mediaFile));
            return false;
        }
        sentences = alignLessonText(*text, textFile, sound, analysis->pauses, never, {}, why);
        if (!sentences)
            return false;
        storeTextAlignment(mediaFile, *text, *sentences);
    } else if (const std::optional<SpeechAnalysis> kept = cachedAnalysis(mediaFile)) {
        // where the sound's clock starts, as the pass found it
        sound.start = kept->peaks.start;
    }
    if (notes)
        *notes = sentences->notes;
    return writeSentencesFile(outputFile, *sentences, sound.start, why);
}

std::optional<Sentences> cachedTextAlignment(const QString &mediaFile, const QString &text)
{
    const std::optional<QByteArray> body =
        cache::read(folder, alignmentKey(mediaFile, text), magic, version);
    if (!body)
        return std::nullopt;
    cache::Reader r(*body);
    Sentences s;
    s.source = SentenceSource::LessonText;
    size_t count = 0;
    if (!r.get(s.origin) || !r.getCount(count, 24))
        return std::nullopt;
    s.items.resize(count);
    for (Sentence &item : s.items) {
        quint8 unsure = 0;
        size_t words = 0;
        if (!r.get(item.start) || !r.get(item.end) || !r.get(item.text) || !r.get(unsure) ||
            unsure > quint8(Unsure::OtherSound) || !r.getCount(words, 32))
            return std::nullopt;
        item.unsure = Unsure(unsure);
        item.words.resize(words);
        for (TimedWord &w : item.words) {
            qint64 from = 0, length = 0;
            if (!r.get(from) || !r.get(length) || !r.get(w.start) || !r.get(w.end) || from < 0 ||
                length < 0 || from + length > item.text.size())
                return std::nullopt;
            w.from = from;
            w.length = length;
        }
    }
    if (!r.get(s.notes))
        return std::nullopt;
    if (r.left() != 0)
        return std::nullopt;
    return s;
}

void storeTextAlignment(const QString &mediaFile, const QString &text, const Sentences &sentences)
{
    cache::Writer w;
    w.put(sentences.origin);
    w.put(quint32(sentences.items.size()));
    for (const Sentence &item : sentences.items) {
        w.put(item.start);
        w.put(item.end);
        w.put(item.text);
        w.put(quint8(item.unsure));
        w.put(quint32(item.words.size()));
        for (const TimedWord &word : item.words) {
            w.put(qint64(word.from));
            w.put(qint64(word.length));
            w.put(word.start);
            w.put(word.end);
        }
    }
    w.put(sentences.notes);
    cache::write(folder, alignmentKey(mediaFile, text), magic, version, w.bytes);
}

} // namespace lesson
