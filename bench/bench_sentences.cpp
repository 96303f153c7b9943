// The pass that finds a lesson's sentences at its speech pauses, on a 60-minute lesson of
// espeak-ng speech with pauses, 44.1 kHz stereo AAC: audio alone, and with a 1080p H.264
// picture of an ordinary bit rate beside it. Wall and CPU seconds of the whole pass.
#include "benchsupport.h"

#include "lesson/sentences.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr int lessonSeconds = 3600;

// A few minutes of speech: spoken sentences each followed by 300 to 800 ms of silence.
bool makeSpeech(const QTemporaryDir &dir, const QString &out)
{
    const char *lines[] = {"The weather was warm and bright this morning",
                           "She walked slowly to the station near the river",
                           "Our teacher asked us to write a short story about our holidays",
                           "Please close the window before you leave the room",
                           "He bought three apples and a loaf of bread at the market",
                           "The train to London leaves at half past nine",
                           "My brother plays football every Saturday afternoon",
                           "We should finish the report by Friday",
                           "The children laughed at the funny old clown",
                           "Can you tell me the way to the museum",
                           "It started to rain just after lunch so we stayed inside",
                           "They have lived in this town for ten years"};
    QString list;
    if (!bench::ffmpeg({QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                        QStringLiteral("anullsrc=r=22050:cl=mono"), QStringLiteral("-t"),
                        QStringLiteral("1"), dir.filePath(QStringLiteral("silence.wav"))}))
        return false;
    int n = 0;
    for (const char *line : lines) {
        const QString wav = dir.filePath(QStringLiteral("line%1.wav").arg(n));
        QProcess espeak;
        espeak.start(QStringLiteral("espeak-ng"), {QStringLiteral("-w"), wav, QLatin1String(line)});
        if (!espeak.waitForFinished(60000) || espeak.exitCode() != 0) {
            std::fprintf(stderr, "espeak-ng (Debian package espeak-ng) failed\n");
            return false;
        }
        ++n;
    }
    for (int round = 0; round < 3; ++round)
        for (int i = 0; i < n; ++i)
            list += QStringLiteral("file 'line%1.wav'\nfile 'silence.wav'\noutpoint 0.%2\n")
                        .arg(i)
                        .arg(3 + (i * 7 + round) % 6);
    QFile listFile(dir.filePath(QStringLiteral("list.txt")));
    if (!listFile.open(QIODevice::WriteOnly) || listFile.write(list.toUtf8()) < 0)
        return false;
    listFile.close();
    return bench::ffmpeg({QStringLiteral("-f"), QStringLiteral("concat"), QStringLiteral("-safe"),
                          QStringLiteral("0"), QStringLiteral("-i"), listFile.fileName(),
                          QStringLiteral("-ar"), QStringLiteral("44100"), QStringLiteral("-ac"),
                          QStringLiteral("2"), QStringLiteral("-c:a"), QStringLiteral("aac"),
                          QStringLiteral("-b:a"), QStringLiteral("128k"), out});
}

void measure(const char *name, const QString &lesson)
{
    std::atomic<bool> cancel{false};
    int reports = 0;
    QElapsedTimer wall;
    const double cpuBefore = bench::selfCpuSeconds();
    wall.start();
    const std::optional<lesson::SpeechAnalysis> found =
        lesson::analyseSpeech(lesson, cancel, [&](double) { ++reports; });
    const double seconds = double(wall.nsecsElapsed()) / 1e9;
    const double cpu = bench::selfCpuSeconds() - cpuBefore;
    if (!found) {
        std::fprintf(stderr, "%s: the analysis found nothing\n", name);
        return;
    }
    bench::print(name, seconds, "s",
                 QStringLiteral("\"cpu_s\": %1, \"cpu_per_lesson_second\": %2, \"target_wall_s\": "
                                "15, \"target_cpu_per_lesson_second\": %3, \"sentences\": %4, "
                                "\"pauses\": %5, \"progress_reports\": %6, \"file_mb\": %7")
                     .arg(cpu, 0, 'f', 3)
                     .arg(cpu / lessonSeconds, 0, 'g', 3)
                     .arg(1.0 / 200, 0, 'g', 3)
                     .arg(found->sentences.items.size())
                     .arg(found->pauses.size())
                     .arg(reports)
                     .arg(double(QFileInfo(lesson).size()) / 1e6, 0, 'f', 1));
}

} // namespace

int main()
{
    QTemporaryDir dir;
    const QString speech = dir.filePath(QStringLiteral("speech.m4a"));
    const QString picture = dir.filePath(QStringLiteral("picture.mp4"));
    const QString audioOnly = dir.filePath(QStringLiteral("lesson.m4a"));
    const QString withVideo = dir.filePath(QStringLiteral("lesson1080.mp4"));
    // an hour made by repeating a few minutes, each part copied without encoding again
    if (!dir.isValid() || !makeSpeech(dir, speech) ||
        !bench::ffmpeg({QStringLiteral("-stream_loop"), QStringLiteral("-1"), QStringLiteral("-i"),
                        speech, QStringLiteral("-t"), QString::number(lessonSeconds),
                        QStringLiteral("-c"), QStringLiteral("copy"), audioOnly}) ||
        !bench::ffmpeg({QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                        QStringLiteral("testsrc2=size=1920x1080:rate=25:duration=30"),
                        QStringLiteral("-c:v"), QStringLiteral("libx264"),
                        QStringLiteral("-preset"), QStringLiteral("ultrafast"),
                        QStringLiteral("-b:v"), QStringLiteral("3M"), QStringLiteral("-g"),
                        QStringLiteral("250"), QStringLiteral("-pix_fmt"),
                        QStringLiteral("yuv420p"), picture}) ||
        !bench::ffmpeg({QStringLiteral("-stream_loop"), QStringLiteral("-1"), QStringLiteral("-i"),
                        picture, QStringLiteral("-stream_loop"), QStringLiteral("-1"),
                        QStringLiteral("-i"), speech, QStringLiteral("-map"), QStringLiteral("0:v"),
                        QStringLiteral("-map"), QStringLiteral("1:a"), QStringLiteral("-t"),
                        QString::number(lessonSeconds), QStringLiteral("-c"),
                        QStringLiteral("copy"), withVideo}))
        return 1;
    measure("sentences_analysis_60min_audio_s", audioOnly);
    measure("sentences_analysis_60min_1080p_s", withVideo);
    return 0;
}
