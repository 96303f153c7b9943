#include "lesson/reviewsession.h"

#include "lesson/drill.h"
#include "lesson/lessoncontroller.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>

namespace lesson {

review::Grade gradeOfReview(const ReviewItem &item, double accuracy, const QStringList &missedWords,
                            bool hintShown, bool sentenceShown)
{
    if (sentenceShown)
        return review::Grade::Again;
    if (item.kind == ReviewItem::Kind::Word)
        return missedWords.contains(item.word, Qt::CaseInsensitive)
                   ? review::Grade::Again
                   : (hintShown ? review::Grade::Hard : review::Grade::Good);
    return review::gradeOfCheck(accuracy, hintShown);
}

ReviewSession::ReviewSession(LessonController *lesson) : QObject(lesson), lesson_(lesson)
{
    connect(lesson_, &LessonController::checked, this, &ReviewSession::checked);
    connect(lesson_, &LessonController::lessonOpened, this, &ReviewSession::lessonOpened);
    connect(lesson_, &LessonController::lessonClosed, this, [this] {
        if (on_ && !opening_)
            stop();
    });
    const auto retry = [this] {
        if (waiting_)
            placeSentence();
    };
    connect(lesson_, &LessonController::sentencesChanged, this, retry);
    connect(lesson_, &LessonController::analysisProgress, this, retry);
}

void ReviewSession::start(const QDate &today)
{
    if (on_)
        stop();
    on_ = true;
    today_ = today;
    passedOver_.clear();
    summary_ = ReviewSummary();
    showNext();
}

void ReviewSession::next()
{
    if (!on_)
        return;
    for (const ReviewItem &item : items_)
        passedOver_.append(item.id);
    showNext();
}

void ReviewSession::stop()
{
    if (!on_)
        return;
    on_ = false;
    waiting_ = false;
    items_.clear();
    sentence_ = -1;
    LessonStore *store = lesson_->store();
    summary_.nextDue = store ? store->firstDueDay() : std::nullopt;
    emit finished(summary_);
}

void ReviewSession::showNext()
{
    LessonStore *store = lesson_->store();
    items_.clear();
    graded_ = false;
    waiting_ = false;
    sentence_ = -1;
    while (on_) {
        const std::optional<ReviewItem> item =
            store ? store->nextDue(today_, passedOver_) : std::nullopt;
        if (!item)
            return stop();
        items_ = store->dueItemsOfSentence(*item, today_);
        if (items_.empty())
            items_ = {*item};
        const auto missing = [&](const QString &why) {
            if (!summary_.missingLessons.contains(item->lessonFile))
                summary_.missingLessons.append(item->lessonFile);
            passOver(why.arg(QDir::toNativeSeparators(item->lessonFile)));
        };
        if (item->needsFile) {
            missing(tr("%1 cannot be found, or is no longer the file it was: its review items "
                       "stay due."));
            continue;
        }
        if (lesson_->fileName() != item->lessonFile || !lesson_->isOpen()) {
            opening_ = true;
            const bool opened = lesson_->open(item->lessonFile);
            opening_ = false;
            if (!opened) {
                missing(tr("%1 does not open: its review items stay due."));
                continue;
            }
        }
        // placed now, or once the lesson's sentences are in
        waiting_ = true;
        placeSentence();
        return;
    }
}

void ReviewSession::placeSentence()
{
    const ReviewItem &item = items_.front();
    const std::vector<Sentence> &sentences = lesson_->sentences().items;
    // the sentence of that text nearest to where it was: kept marks may have moved it
    int found = -1;
    for (size_t i = 0; i < sentences.size(); ++i) {
        if (sentences[i].text != item.text)
            continue;
        if (found < 0 || std::abs(sentences[i].start - item.start) <
                             std::abs(sentences[size_t(found)].start - item.start))
            found = int(i);
    }
    if (found < 0) {
        if (lesson_->isAnalysing() || lesson_->isAligningText())
            return;
        ++summary_.sentencesNotFound;
        passOver(tr("The sentence \"%1\" is no longer among the sentences of %2: its review "
                    "items stay due.")
                     .arg(item.text, QFileInfo(item.lessonFile).fileName()));
        return showNext();
    }
    waiting_ = false;
    sentence_ = found;
    lesson_->loopSentence(found);
    if (lesson_->drill()->isOn())
        lesson_->drill()->again();
    else
        lesson_->drill()->setOn(true);
    const int left = std::max(0, (lesson_->store() ? lesson_->store()->dueCount(today_) : 0) -
                                     int(passedOver_.size()) - int(items_.size()));
    emit sentenceShown(item.text, int(items_.size()), left);
}

void ReviewSession::passOver(const QString &why)
{
    for (const ReviewItem &item : items_)
        passedOver_.append(item.id);
    items_.clear();
    waiting_ = false;
    emit notice(why);
}

void ReviewSession::checked(int sentence, double accuracy, const QStringList &missedWords)
{
    if (!on_ || graded_ || waiting_ || sentence != sentence_ || items_.empty())
        return;
    const Drill::Shown shown = lesson_->drill()->shown();
    int recalled = 0;
    for (const ReviewItem &item : items_) {
        const review::Grade grade =
            gradeOfReview(item, accuracy, missedWords, shown == Drill::Shown::Hint,
                          shown == Drill::Shown::Sentence);
        if (!lesson_->store()->recordReview(item, grade, today_)) {
            emit notice(tr("The review could not be kept: %1").arg(lesson_->store()->error()));
            continue;
        }
        ++summary_.reviewed;
        if (grade != review::Grade::Again) {
            ++summary_.recalled;
            ++recalled;
        }
    }
    graded_ = true;
    emit graded(int(items_.size()), recalled);
}

void ReviewSession::lessonOpened(const QString &file)
{
    // the learner opened another lesson: the session gives way
    if (on_ && !opening_ && (items_.empty() || file != items_.front().lessonFile))
        stop();
}

} // namespace lesson
