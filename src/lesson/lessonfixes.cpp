// Sentences the learner placed with the loop's marks: the aligner's or a subtitle's place
// of a sentence replaced by the loop, kept in the lesson store and put back whenever the
// same source's sentences are set again.
#include "lesson/lessoncontroller.h"

#include "media/media.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Sentences whose index and text name the same sentence each time they are read: those of
// subtitles and lesson texts. The pauses' sentences may come out otherwise another time.
bool keepsFixes(const lesson::Sentences &sentences)
{
    return !sentences.origin.isEmpty() && sentences.source != lesson::SentenceSource::None &&
           sentences.source != lesson::SentenceSource::SpeechPauses;
}

// Gives items[index] the ends [start, end], cut back to the room between its neighbours, its
// words moved along in proportion; its place is then sure. False, with nothing changed,
// when that room leaves it shorter than shortest.
bool placeSentence(std::vector<lesson::Sentence> &items, size_t index, double start, double end,
                   double shortest)
{
    const double infinity = std::numeric_limits<double>::infinity();
    const double from = std::max(start, index > 0 ? items[index - 1].end : -infinity);
    const double to = std::min(end, index + 1 < items.size() ? items[index + 1].start : infinity);
    if (!std::isfinite(from) || !std::isfinite(to) || to <= from || to - from < shortest)
        return false;
    lesson::Sentence &s = items[index];
    const double scale = s.end > s.start ? (to - from) / (s.end - s.start) : 0;
    for (lesson::TimedWord &w : s.words) {
        w.start = from + (w.start - s.start) * scale;
        w.end = from + (w.end - s.start) * scale;
    }
    s.start = from;
    s.end = to;
    s.unsure = lesson::Unsure::No;
    return true;
}

} // namespace

int LessonController::sentenceBeingFixed() const
{
    const std::vector<lesson::Sentence> &items = sentences_.items;
    if (!media_ || items.empty())
        return -1;
    if (currentSentence_ >= 0)
        return currentSentence_;
    if (lastCurrentSentence_ >= 0 && size_t(lastCurrentSentence_) < items.size())
        return lastCurrentSentence_;
    const double in = markInSeconds();
    const double out = markOutSeconds();
    int found = -1;
    double most = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const double overlap = std::min(out, items[i].end) - std::max(in, items[i].start);
        if (overlap > most) {
            most = overlap;
            found = int(i);
        }
    }
    return found;
}

void LessonController::keepMarksForSentence()
{
    if (!media_)
        return;
    const int index = sentenceBeingFixed();
    if (index < 0) {
        emit error(tr("The loop is on no sentence whose marks could be kept."));
        return;
    }
    if (!keepsFixes(sentences_)) {
        emit error(tr("Only sentences of subtitles or of a lesson text can keep marks."));
        return;
    }
    // whole milliseconds, as the store keeps them, rounded inwards so that they stay
    // between the neighbours
    const double in = std::ceil(markInSeconds() * 1000) / 1000;
    const double out = std::floor(markOutSeconds() * 1000) / 1000;
    std::vector<lesson::Sentence> items = sentences_.items;
    const size_t i = size_t(index);
    if (!placeSentence(items, i, in, out, secondsOf(media_->shortestLoop()))) {
        emit error(tr("These marks leave sentence %1 no room between the sentences around it.")
                       .arg(index + 1));
        return;
    }
    const lesson::Sentence &placed = items[i];
    if (store_ && !store_->keepSentenceFix(fileName_, sentences_.origin,
                                           {index, placed.text, placed.start, placed.end},
                                           sentences_.items[i])) {
        emit error(tr("The marks could not be kept: %1").arg(store_->error()));
        return;
    }
    sentences_.items = std::move(items);
    emit sentencesChanged();
    followCurrentSentence();
    // marks cut back to the room between the neighbours: the loop becomes the sentence
    if (currentSentence_ != index)
        loopSentence(index);
}

void LessonController::applySentenceFixes()
{
    givenSentences_ = sentences_;
    // an index of the sentences before means another sentence now
    lastCurrentSentence_ = -1;
    if (!store_ || !media_ || !keepsFixes(sentences_))
        return;
    std::vector<lesson::SentenceFix> fixes = store_->sentenceFixes(fileName_, sentences_.origin);
    // in order, so that each is placed between neighbours already placed before it
    std::sort(fixes.begin(), fixes.end(),
              [](const auto &a, const auto &b) { return a.sentence < b.sentence; });
    std::vector<lesson::Sentence> &items = sentences_.items;
    for (const lesson::SentenceFix &fix : fixes) {
        // a sentence that is not the one the fix was made for keeps its place
        if (fix.sentence >= 0 && size_t(fix.sentence) < items.size() &&
            items[size_t(fix.sentence)].text == fix.text)
            placeSentence(items, size_t(fix.sentence), fix.start, fix.end, 0);
    }
}

void LessonController::forgetSentenceFixes()
{
    if (givenSentences_.items.size() != sentences_.items.size())
        return;
    const bool fixed =
        !std::equal(sentences_.items.begin(), sentences_.items.end(), givenSentences_.items.begin(),
                    [](const auto &a, const auto &b) {
                        return a.start == b.start && a.end == b.end && a.unsure == b.unsure;
                    });
    if (!fixed)
        return;
    sentences_ = givenSentences_;
    emit sentencesChanged();
    followCurrentSentence();
}
