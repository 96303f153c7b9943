// A deck of 500 flashcards from review items spread over a 60-minute lesson: wall and CPU
// seconds of the whole export, the clips cut and encoded to MP3. The lesson is a 440 Hz tone
// under pink noise, 44.1 kHz stereo, once as AAC in MP4 and once as MP3.
#include "benchsupport.h"

#include "cards/deckexport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <random>

namespace {

constexpr int lessonSeconds = 3600;
constexpr int cards = 500;

bool makeLesson(const QString &out, const char *codec)
{
    return bench::ffmpeg({QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                          QStringLiteral("anoisesrc=c=pink:r=44100:a=0.1:d=%1").arg(lessonSeconds),
                          QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                          QStringLiteral("sine=f=440:r=44100:d=%1").arg(lessonSeconds),
                          QStringLiteral("-filter_complex"), QStringLiteral("amix=inputs=2"),
                          QStringLiteral("-ac"), QStringLiteral("2"), QStringLiteral("-c:a"),
                          QLatin1String(codec), QStringLiteral("-b:a"), QStringLiteral("128k"),
                          out});
}

// Sentences of 1.5 to 8 s at random places, their words as Word items beside them, in the
// order a learner's checks would keep them.
std::vector<lesson::ReviewItem> itemsOf(const QString &lesson)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> place(0, lessonSeconds - 10);
    std::uniform_real_distribution<double> length(1.5, 8);
    std::vector<lesson::ReviewItem> items;
    for (int i = 0; i < cards; ++i) {
        lesson::ReviewItem item;
        item.id = i + 1;
        item.lessonFile = lesson;
        item.start = place(random);
        item.end = item.start + length(random);
        item.text = QStringLiteral("The quick brown fox jumps over the lazy dog.");
        item.missedWords = {QStringLiteral("brown"), QStringLiteral("lazy")};
        if (i % 3 != 0) {
            item.kind = lesson::ReviewItem::Kind::Word;
            item.word = item.missedWords.at(i % 2);
        }
        items.push_back(item);
    }
    return items;
}

void measure(const char *name, const QString &lesson, const QTemporaryDir &dir)
{
    const std::vector<lesson::ReviewItem> items = itemsOf(lesson);
    const QString folder = dir.filePath(QLatin1String(name));
    QDir().mkpath(folder);
    const std::atomic<bool> cancel{false};
    QElapsedTimer wall;
    const double cpuBefore = bench::selfCpuSeconds();
    wall.start();
    const cards::DeckResult result =
        cards::DeckExport::write(QDir(folder).filePath(QStringLiteral("deck.txt")), items, {},
                                 speech::Voice::British, cancel, {});
    const double seconds = double(wall.nsecsElapsed()) / 1e9;
    const double cpu = bench::selfCpuSeconds() - cpuBefore;
    if (result.outcome != cards::DeckResult::Outcome::Written) {
        std::fprintf(stderr, "%s: %s\n", name, qPrintable(result.why));
        return;
    }
    qint64 bytes = 0;
    for (const QFileInfo &clip : QDir(folder).entryInfoList({QStringLiteral("*.mp3")}))
        bytes += clip.size();
    bench::print(name, seconds, "s",
                 QStringLiteral("\"cpu_s\": %1, \"target_wall_s\": 60, \"cards\": %2, "
                                "\"clip_kb_mean\": %3")
                     .arg(cpu, 0, 'f', 2)
                     .arg(result.cards)
                     .arg(double(bytes) / 1024 / result.cards, 0, 'f', 1));
}

} // namespace

int main()
{
    QTemporaryDir dir;
    const QString m4a = dir.filePath(QStringLiteral("lesson.m4a"));
    const QString mp3 = dir.filePath(QStringLiteral("lesson.mp3"));
    if (!makeLesson(m4a, "aac") || !makeLesson(mp3, "libmp3lame"))
        return 1;
    measure("cardexport_500_cards_aac_hour", m4a, dir);
    measure("cardexport_500_cards_mp3_hour", mp3, dir);
    return 0;
}
