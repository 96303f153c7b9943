// The lesson memory's database: a lesson's state saved (what the player does at close and
// every 30 s while it plays), a check's score kept, and a lesson of 500 sentences (all
// scored) reopened: its memory and its scores read; the next due review item chosen, and the
// due ones counted, among 100,000; a check logged, and the progress read back over a year of
// checks. Milliseconds per call, median and max.
#include "benchsupport.h"

#include "lesson/lessonstore.h"

#include <QElapsedTimer>
#include <QFile>

namespace {

template <typename F> bench::Summary timeCalls(int runs, F call)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        call(i);
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return bench::summarize(ms);
}

void print(const char *name, const bench::Summary &s, int runs)
{
    bench::print(name, s.median, "ms",
                 QStringLiteral("\"max\": %1, \"runs\": %2").arg(s.max, 0, 'f', 3).arg(runs));
}

} // namespace

int main()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("lesson.mp4"));
    QFile media(file);
    if (!dir.isValid() || !media.open(QIODevice::WriteOnly) || media.write("lesson") != 6)
        return 1;
    media.close();

    QElapsedTimer opening;
    opening.start();
    lesson::LessonStore store(dir.filePath(QStringLiteral("lessons.db")));
    bench::print("lessonstore_create", double(opening.nsecsElapsed()) / 1e6, "ms");
    if (!store.isOpen())
        return 1;

    constexpr int runs = 200;
    lesson::LessonMemory memory;
    print("lessonstore_save",
          timeCalls(runs,
                    [&](int i) {
                        memory.place = lesson::LessonPlace{i * 0.1, 1.0, 2.0};
                        store.saveLesson(file, memory);
                    }),
          runs);

    constexpr int sentenceCount = 500;
    std::vector<lesson::Sentence> sentences;
    for (int i = 0; i < sentenceCount; ++i)
        sentences.push_back({i * 3.0, i * 3.0 + 2.5, QStringLiteral("Sentence number %1.").arg(i)});
    print("lessonstore_record_score",
          timeCalls(sentenceCount,
                    [&](int i) {
                        store.recordScore(file, sentences[size_t(i)], 0.5,
                                          QDateTime::currentDateTimeUtc());
                    }),
          sentenceCount);
    print("lessonstore_reopen_500_sentences",
          timeCalls(20,
                    [&](int) {
                        const std::optional<lesson::LessonMemory> m = store.lesson(file);
                        const lesson::Scores s = store.scores(file, sentences);
                        if (!m || s.size() != sentences.size() || !s.back())
                            std::abort();
                    }),
          20);

    // checks on a year of days, each missing nine words: ten items a check
    constexpr int itemCount = 100000;
    const QDate first(2026, 1, 1);
    QStringList words;
    for (int w = 0; w < 9; ++w)
        words.append(QStringLiteral("word%1").arg(w));
    QElapsedTimer adding;
    adding.start();
    for (int i = 0; i < itemCount / 10; ++i) {
        const lesson::Sentence sentence{i * 3.0, i * 3.0 + 2.5,
                                        QStringLiteral("Reviewed sentence %1.").arg(i)};
        if (!store.addReviewItems(file, QString(), sentence, 0.5, words, first.addDays(i % 365)))
            return 1;
    }
    bench::print("lessonstore_add_review_items_per_check",
                 double(adding.nsecsElapsed()) / 1e6 / (itemCount / 10), "ms");
    const QDate today = first.addDays(400);
    print("lessonstore_next_due_of_100000",
          timeCalls(runs,
                    [&](int) {
                        if (!store.nextDue(today))
                            std::abort();
                    }),
          runs);
    print("lessonstore_due_count_of_100000",
          timeCalls(20,
                    [&](int) {
                        if (store.dueCount(today) != itemCount)
                            std::abort();
                    }),
          20);

    // a year of checks, each missing five words of a vocabulary of 3,000: the progress read
    // back over them and the review items above
    constexpr int checkCount = 20000;
    QElapsedTimer logging;
    logging.start();
    for (int i = 0; i < checkCount; ++i) {
        QStringList missed;
        for (int w = 0; w < 5; ++w)
            missed.append(QStringLiteral("word%1").arg((i * 7 + w * 613) % 3000));
        const QDateTime when(today.addDays(-(i % 365)), QTime(12, 0));
        if (!store.logCheck(file, QStringLiteral("Sentence."), 0.5, missed, when))
            return 1;
    }
    bench::print("lessonstore_log_check", double(logging.nsecsElapsed()) / 1e6 / checkCount, "ms");
    print("lessonstore_progress_of_20000_checks",
          timeCalls(20,
                    [&](int) {
                        if (store.progress(today).checks.size() !=
                            size_t(lesson::LearningProgress::checkDays))
                            std::abort();
                    }),
          20);
    return 0;
}
