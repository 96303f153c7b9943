// The aligner on speech the synthesizer makes at run time, against the synthesizer's own
// word times: an American and a British voice at two speeds, clean, under pink noise, over a
// bed of tones, through 64 kbit/s AAC, with a sentence the text lacks and with a sentence the
// sound lacks. Then the CPU seconds (getrusage) and peak resident memory of aligning a
// 60-minute lesson, in a process of its own so that making the lesson is not counted.
//   VORLYN_BENCH_ALIGN_MINUTES  the long lesson's length (default 60)
#include "benchsupport.h"

#include "align/aligner.h"

#include <espeak-ng/speak_lib.h>

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTextStream>

#include <atomic>
#include <chrono>
#include <cmath>
#include <limits>
#include <numbers>
#include <numeric>
#include <random>
#include <thread>

namespace {

const char *const lines[] = {
    "The old ship left the harbor early in the morning.",
    "Nobody on the shore could see where it was going.",
    "Three days later a letter arrived from a distant island.",
    "My grandmother kept the letter in a wooden box under her bed.",
    "When the rain stopped, the children ran outside to play in the puddles.",
    "Please remember to switch off the lights before you go to sleep.",
    "The museum opens at nine and closes late on Thursday evenings.",
    "He had never seen so many birds gathered on one small tree.",
    "Our neighbours are painting their kitchen a bright shade of yellow.",
    "If you listen carefully, you can hear the river behind the hill.",
    "The doctor told him to rest for a week and drink plenty of water.",
    "She found an old photograph of her parents standing by the lake.",
    "Most of the shops in the village close early on Sundays.",
    "The bus was late again, so we walked the rest of the way.",
    "A strong wind blew the last leaves from the trees in the garden.",
    "They argued for an hour about which film to watch.",
    "The recipe needs two eggs, a cup of flour and a little sugar.",
    "I wonder whether the mountain road is open in the winter.",
    "The teacher wrote the new words on the board in large letters.",
    "After dinner we sat by the fire and told each other stories.",
    "The cat jumped onto the table and knocked over a glass of milk.",
    "Every summer the town holds a music festival in the park.",
    "He forgot his umbrella and arrived at the office soaking wet.",
    "The library has a quiet room where students can work alone.",
};
constexpr int lineCount = int(std::size(lines));

const QRegularExpression wordPattern(QStringLiteral("[A-Za-z']+"));
constexpr double unknown = -1;

// A lesson as the aligner gets it, and where the synthesizer says each word starts.
struct Lesson
{
    std::vector<int16_t> sound; // 16 kHz mono
    std::vector<std::vector<QString>> words;
    // seconds per word, unknown where the synthesizer gave the word no event of its own;
    // empty for a sentence of the text that the sound lacks
    std::vector<std::vector<double>> starts;
};

// What the synthesizer made, at its own rate, and the sample where each word starts.
struct Synthesis
{
    std::vector<int16_t> samples;
    std::vector<std::pair<int, int>> wordSamples; // character position in the text, sample
};

int collect(short *samples, int count, espeak_EVENT *events)
{
    auto *out = static_cast<Synthesis *>(events->user_data);
    if (samples)
        out->samples.insert(out->samples.end(), samples, samples + count);
    for (; events->type != espeakEVENT_LIST_TERMINATED; ++events) {
        if (events->type == espeakEVENT_WORD)
            out->wordSamples.emplace_back(events->text_position - 1, events->sample);
    }
    return 0;
}

struct Voice
{
    const char *name;
    int wordsPerMinute;
};

// Speaks the sentences one after another, appending to samples at the synthesizer's rate,
// and appends the sentences and their word starts to lesson; the sound is resampled later.
bool speak(const Voice &voice, const std::vector<int> &sentences, double gain, int rate,
           std::vector<int16_t> *samples, Lesson *lesson)
{
    QString said;
    std::vector<int> sentenceAt;
    for (int i : sentences) {
        sentenceAt.push_back(int(said.size()));
        said += QLatin1String(lines[i]) + u' ';
    }
    Synthesis synthesis;
    espeak_SetSynthCallback(collect);
    if (espeak_SetVoiceByName(voice.name) != EE_OK ||
        espeak_SetParameter(espeakRATE, voice.wordsPerMinute, 0) != EE_OK)
        return false;
    const QByteArray utf8 = said.toUtf8();
    if (espeak_Synth(utf8.constData(), std::size_t(utf8.size()) + 1, 0, POS_CHARACTER, 0,
                     espeakCHARS_UTF8, nullptr, &synthesis) != EE_OK)
        return false;
    const double offset = double(samples->size()) / rate;
    for (std::size_t s = 0; s < sentences.size(); ++s) {
        const QString line = QLatin1String(lines[sentences[s]]);
        lesson->words.emplace_back();
        lesson->starts.emplace_back();
        for (const auto &match : wordPattern.globalMatch(line)) {
            const int position = sentenceAt[s] + int(match.capturedStart());
            const auto event =
                std::find_if(synthesis.wordSamples.cbegin(), synthesis.wordSamples.cend(),
                             [&](const auto &e) { return e.first == position; });
            lesson->words.back().push_back(match.captured().toLower());
            lesson->starts.back().push_back(event == synthesis.wordSamples.cend()
                                                ? unknown
                                                : offset + double(event->second) / rate);
        }
    }
    for (const int16_t sample : synthesis.samples)
        samples->push_back(int16_t(std::lround(sample * gain)));
    return true;
}

bool writeRaw(const QString &path, const std::vector<int16_t> &samples)
{
    QFile file(path);
    const auto bytes = qint64(samples.size() * sizeof(int16_t));
    return file.open(QIODevice::WriteOnly) &&
           file.write(reinterpret_cast<const char *>(samples.data()), bytes) == bytes;
}

std::vector<int16_t> readRaw(const QString &path)
{
    QFile file(path);
    // unbuffered, so the hour of sound is not held twice while it is read
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return {};
    std::vector<int16_t> samples(std::size_t(file.size()) / sizeof(int16_t));
    const auto bytes = qint64(samples.size() * sizeof(int16_t));
    if (file.read(reinterpret_cast<char *>(samples.data()), bytes) != bytes)
        return {};
    return samples;
}

QStringList rawInput(int rate)
{
    return {QStringLiteral("-f"),  QStringLiteral("s16le"), QStringLiteral("-ar"),
            QString::number(rate), QStringLiteral("-ac"),   QStringLiteral("1"),
            QStringLiteral("-i")};
}

QStringList rawOutput16k()
{
    return {QStringLiteral("-f"),    QStringLiteral("s16le"), QStringLiteral("-ar"),
            QStringLiteral("16000"), QStringLiteral("-ac"),   QStringLiteral("1")};
}

// The synthesizer's sound at the aligner's rate, resampled by the ffmpeg command.
std::vector<int16_t> to16k(const QTemporaryDir &dir, const std::vector<int16_t> &samples, int rate)
{
    const QString in = dir.filePath(QStringLiteral("in.raw"));
    const QString out = dir.filePath(QStringLiteral("out.raw"));
    if (!writeRaw(in, samples) ||
        !bench::ffmpeg(rawInput(rate) + QStringList{in} + rawOutput16k() + QStringList{out}))
        return {};
    return readRaw(out);
}

// The sound through a 64 kbit/s AAC encoder at 44.1 kHz and its decoder, back at 16 kHz; the
// container's edit list takes the encoder's delay away again.
std::vector<int16_t> throughAac(const QTemporaryDir &dir, const std::vector<int16_t> &samples)
{
    const QString in = dir.filePath(QStringLiteral("in.raw"));
    const QString aac = dir.filePath(QStringLiteral("lesson.m4a"));
    const QString out = dir.filePath(QStringLiteral("out.raw"));
    if (!writeRaw(in, samples) ||
        !bench::ffmpeg(rawInput(align::sampleRate) + QStringList{in} +
                       QStringList{QStringLiteral("-ar"), QStringLiteral("44100"),
                                   QStringLiteral("-c:a"), QStringLiteral("aac"),
                                   QStringLiteral("-b:a"), QStringLiteral("64k"), aac}) ||
        !bench::ffmpeg(QStringList{QStringLiteral("-i"), aac} + rawOutput16k() + QStringList{out}))
        return {};
    return readRaw(out);
}

double power(const std::vector<double> &signal)
{
    return std::accumulate(signal.cbegin(), signal.cend(), 0.0,
                           [](double sum, double x) { return sum + x * x; }) /
           double(std::max<std::size_t>(1, signal.size()));
}

// The sound with a bed under it at snrDb below the sound's power over its whole length.
std::vector<int16_t> under(const std::vector<int16_t> &sound, const std::vector<double> &bed,
                           double snrDb)
{
    std::vector<double> speech(sound.cbegin(), sound.cend());
    const double gain = std::sqrt(power(speech) / power(bed) / std::pow(10.0, snrDb / 10));
    std::vector<int16_t> mixed(sound.size());
    for (std::size_t i = 0; i < sound.size(); ++i)
        mixed[i] = int16_t(std::clamp(std::lround(speech[i] + gain * bed[i]), -32768L, 32767L));
    return mixed;
}

// Pink noise: white noise through a sum of first-order filters that falls 3 dB per octave.
std::vector<double> pinkNoise(std::size_t n)
{
    std::mt19937 random(7);
    std::normal_distribution<double> white;
    std::vector<double> noise(n);
    double b[7] = {};
    for (double &x : noise) {
        const double w = white(random);
        b[0] = 0.99886 * b[0] + w * 0.0555179;
        b[1] = 0.99332 * b[1] + w * 0.0750759;
        b[2] = 0.96900 * b[2] + w * 0.1538520;
        b[3] = 0.86650 * b[3] + w * 0.3104856;
        b[4] = 0.55000 * b[4] + w * 0.5329522;
        b[5] = -0.7616 * b[5] - w * 0.0168980;
        x = b[0] + b[1] + b[2] + b[3] + b[4] + b[5] + b[6] + w * 0.5362;
        b[6] = w * 0.115926;
    }
    return noise;
}

// Music-like sound: a chord of three notes and a bass note every 1.5 s, each note with two
// overtones and a soft attack and decay.
std::vector<double> toneBed(std::size_t n)
{
    constexpr double chords[][4] = {{220.0, 277.2, 329.6, 110.0},
                                    {174.6, 220.0, 261.6, 87.3},
                                    {261.6, 329.6, 392.0, 130.8},
                                    {196.0, 246.9, 293.7, 98.0}};
    constexpr double chordSeconds = 1.5;
    std::vector<double> bed(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = double(i) / align::sampleRate;
        const auto chord = std::size_t(t / chordSeconds);
        const double inChord = t - double(chord) * chordSeconds;
        const double envelope = std::min(1.0, inChord / 0.05) * std::exp(-inChord * 1.2);
        double sum = 0;
        for (const double f : chords[chord % std::size(chords)])
            for (int h = 1; h <= 3; ++h)
                sum += std::sin(2 * std::numbers::pi * f * h * t) / (h * h);
        bed[i] = envelope * sum;
    }
    return bed;
}

// Errors against the synthesizer's word starts, in seconds; a word or sentence the aligner
// did not place counts as an infinite error.
struct Score
{
    std::vector<double> sentenceErrors;
    std::vector<double> wordErrors;
    int skipped = 0;            // sentences of the sound the aligner did not place
    int missingFound = 0;       // sentences the sound lacks that the aligner placed anyway
    std::vector<double> beside; // sentence errors next to a sentence the sound lacks

    void add(const Score &other)
    {
        for (auto [to, from] : {std::pair{&sentenceErrors, &other.sentenceErrors},
                                {&wordErrors, &other.wordErrors},
                                {&beside, &other.beside}})
            to->insert(to->end(), from->cbegin(), from->cend());
        skipped += other.skipped;
        missingFound += other.missingFound;
    }
};

Score score(const Lesson &lesson, const align::Alignment &alignment, const QString &what)
{
    constexpr double never = std::numeric_limits<double>::infinity();
    Score s;
    if (alignment.outcome != align::Outcome::Aligned) {
        std::fprintf(stderr, "%s: not aligned\n", qPrintable(what));
        return s;
    }
    const auto spoken = [&](std::size_t i) { return !lesson.starts[i].empty(); };
    const auto lacking = [&](std::size_t i) {
        return i < lesson.starts.size() && lesson.starts[i].empty();
    };
    for (std::size_t i = 0; i < lesson.words.size(); ++i) {
        const align::SentenceTimes &placed = alignment.sentences[i];
        const bool isPlaced = placed.placement != align::Placement::Skipped;
        if (!spoken(i)) {
            s.missingFound += isPlaced ? 1 : 0;
            if (isPlaced)
                std::fprintf(stderr, "%s: sentence %zu, not in the sound, placed at %.2f s\n",
                             qPrintable(what), i, placed.words.front().start);
            continue;
        }
        if (!isPlaced) {
            ++s.skipped;
            std::fprintf(stderr, "%s: sentence %zu skipped\n", qPrintable(what), i);
        }
        for (std::size_t w = 0; w < placed.words.size(); ++w) {
            const double truth = lesson.starts[i][w];
            if (truth == unknown)
                continue;
            const double error =
                placed.words[w].isPlaced() ? std::abs(placed.words[w].start - truth) : never;
            s.wordErrors.push_back(error);
            if (w == 0) {
                s.sentenceErrors.push_back(error);
                if ((i > 0 && lacking(i - 1)) || lacking(i + 1))
                    s.beside.push_back(error);
            }
        }
    }
    std::vector<double> sorted = s.wordErrors;
    std::sort(sorted.begin(), sorted.end());
    std::fprintf(stderr, "%s: word start error median %.0f ms, 90th percentile %.0f ms\n",
                 qPrintable(what), sorted.empty() ? 0 : sorted[sorted.size() / 2] * 1000,
                 sorted.empty() ? 0 : sorted[sorted.size() * 9 / 10] * 1000);
    return s;
}

double shareWithin(const std::vector<double> &errors, double limit)
{
    const auto n =
        std::count_if(errors.cbegin(), errors.cend(), [limit](double e) { return e <= limit; });
    return errors.empty() ? 0 : 100.0 * double(n) / double(errors.size());
}

void report(const QString &condition, const Score &s)
{
    const QString name = QStringLiteral("align_") + condition;
    std::vector<double> placed;
    std::copy_if(s.wordErrors.cbegin(), s.wordErrors.cend(), std::back_inserter(placed),
                 [](double e) { return std::isfinite(e); });
    std::vector<double> sorted = s.wordErrors;
    std::sort(sorted.begin(), sorted.end());
    const double median = sorted.empty() ? 0 : sorted[sorted.size() / 2];
    const double mean =
        placed.empty() ? 0 : std::accumulate(placed.cbegin(), placed.cend(), 0.0) / placed.size();
    const QString counts = QStringLiteral("\"sentences\": %1, \"skipped\": %2, \"words\": %3")
                               .arg(s.sentenceErrors.size())
                               .arg(s.skipped)
                               .arg(s.wordErrors.size());
    bench::print(qPrintable(name + QStringLiteral("_sentence_starts_within_150ms")),
                 shareWithin(s.sentenceErrors, 0.150), "%",
                 QStringLiteral("\"target\": \">= 98\", ") + counts);
    bench::print(qPrintable(name + QStringLiteral("_word_start_error_median")), median * 1000, "ms",
                 QStringLiteral("\"target\": \"<= 30\", ") + counts);
    bench::print(qPrintable(name + QStringLiteral("_word_starts_within_100ms")),
                 shareWithin(s.wordErrors, 0.100), "%",
                 QStringLiteral("\"target\": \">= 95\", ") + counts);
    bench::print(qPrintable(name + QStringLiteral("_word_start_error_mean")), mean * 1000, "ms",
                 QStringLiteral("\"of_placed_words\": %1").arg(placed.size()));
}

align::Alignment alignLesson(const Lesson &lesson)
{
    const std::atomic<bool> cancel{false};
    return align::alignWords(lesson.sound, lesson.words, cancel);
}

// the synthesizer's American voice, and its British one, which it names "en"
const Voice voices[] = {{"en-us", 150}, {"en-us", 200}, {"en", 150}, {"en", 200}};

// The short lessons under every condition, for every voice and speed.
bool measureConditions(const QTemporaryDir &dir, int rate)
{
    // ten sentences of the text; the fifth is the one left out of the text or of the sound
    std::vector<int> paragraph(10);
    std::iota(paragraph.begin(), paragraph.end(), 0);
    constexpr std::size_t leftOut = 4;
    const QString conditions[] = {
        QStringLiteral("clean"),
        QStringLiteral("pink_noise_10db"),
        QStringLiteral("tones_10db"),
        QStringLiteral("aac_64k"),
        QStringLiteral("sentence_missing_from_text"),
        QStringLiteral("sentence_missing_from_sound"),
    };
    std::vector<Score> scores(std::size(conditions));
    for (const Voice &voice : voices) {
        std::vector<int16_t> samples;
        Lesson clean;
        if (!speak(voice, paragraph, 1.0, rate, &samples, &clean))
            return false;
        clean.sound = to16k(dir, samples, rate);
        if (clean.sound.empty())
            return false;
        std::vector<Lesson> lessons(std::size(conditions), clean);
        lessons[1].sound = under(clean.sound, pinkNoise(clean.sound.size()), 10);
        lessons[2].sound = under(clean.sound, toneBed(clean.sound.size()), 10);
        lessons[3].sound = throughAac(dir, clean.sound);
        lessons[4].words.erase(lessons[4].words.begin() + leftOut);
        lessons[4].starts.erase(lessons[4].starts.begin() + leftOut);
        std::vector<int> shorter = paragraph;
        shorter.erase(shorter.begin() + leftOut);
        Lesson &lacking = lessons[5];
        lacking = {};
        samples.clear();
        if (!speak(voice, shorter, 1.0, rate, &samples, &lacking))
            return false;
        lacking.sound = to16k(dir, samples, rate);
        lacking.words.insert(lacking.words.begin() + leftOut, clean.words[leftOut]);
        lacking.starts.insert(lacking.starts.begin() + leftOut, std::vector<double>{});
        for (std::size_t c = 0; c < std::size(conditions); ++c) {
            if (lessons[c].sound.empty())
                return false;
            const QString what = QStringLiteral("%1 %2 wpm %3")
                                     .arg(QLatin1String(voice.name))
                                     .arg(voice.wordsPerMinute)
                                     .arg(conditions[c]);
            scores[c].add(score(lessons[c], alignLesson(lessons[c]), what));
        }
    }
    for (std::size_t c = 0; c < std::size(conditions); ++c)
        report(conditions[c], scores[c]);
    const Score &missing = scores.back();
    bench::print("align_sentence_missing_from_sound_neighbours_within_150ms",
                 shareWithin(missing.beside, 0.150), "%",
                 QStringLiteral("\"target\": \">= 98\", \"neighbours\": %1, "
                                "\"missing_sentences_placed\": %2, \"target_placed\": 0")
                     .arg(missing.beside.size())
                     .arg(missing.missingFound));
    return true;
}

// The long lesson: paragraphs of six to nine sentences picked at random, in both voices at
// speeds from 140 to 210 words a minute, at varying loudness, with pauses between them.
bool makeLongLesson(const QTemporaryDir &dir, int rate, double seconds)
{
    std::mt19937 random(11);
    std::vector<int16_t> samples;
    Lesson lesson;
    for (int p = 0; double(samples.size()) < seconds * rate; ++p) {
        std::vector<int> paragraph(6 + random() % 4);
        for (int &s : paragraph)
            s = int(random() % lineCount);
        const Voice voice{voices[p % 4].name, 140 + int(random() % 71)};
        if (!speak(voice, paragraph, 0.4 + 0.6 * double(random() % 100) / 100, rate, &samples,
                   &lesson))
            return false;
        samples.resize(samples.size() + std::size_t(rate * (0.5 + double(random() % 150) / 100)));
    }
    const QString raw = dir.filePath(QStringLiteral("long.raw"));
    if (!writeRaw(raw, samples) ||
        !bench::ffmpeg(rawInput(rate) + QStringList{raw} + rawOutput16k() +
                       QStringList{dir.filePath(QStringLiteral("long16k.raw"))}))
        return false;
    QFile text(dir.filePath(QStringLiteral("long.txt")));
    if (!text.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream out(&text);
    for (std::size_t i = 0; i < lesson.words.size(); ++i) {
        for (std::size_t w = 0; w < lesson.words[i].size(); ++w)
            out << lesson.words[i][w] << u' ' << QString::number(lesson.starts[i][w], 'f', 4)
                << u' ';
        out << u'\n';
    }
    return true;
}

// The kernel's high-water mark of this process's resident memory. getrusage's ru_maxrss would
// not do: it keeps the mark of the process that started this one across exec.
double peakResidentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    }
    return 0;
}

// Aligns the long lesson that makeLongLesson wrote to folder, in this process, and reports;
// the peak memory includes the lesson's sound, as it would in the program.
int alignLongLesson(const QString &folder)
{
    Lesson lesson;
    lesson.sound = readRaw(folder + QStringLiteral("/long16k.raw"));
    QFile text(folder + QStringLiteral("/long.txt"));
    if (lesson.sound.empty() || !text.open(QIODevice::ReadOnly | QIODevice::Text))
        return 1;
    QTextStream in(&text);
    for (QString line; in.readLineInto(&line);) {
        const QStringList fields = line.split(u' ', Qt::SkipEmptyParts);
        lesson.words.emplace_back();
        lesson.starts.emplace_back();
        for (qsizetype f = 0; f + 1 < fields.size(); f += 2) {
            lesson.words.back().push_back(fields[f]);
            lesson.starts.back().push_back(fields[f + 1].toDouble());
        }
    }
    const double minutes = double(lesson.sound.size()) / align::sampleRate / 60;
    const double soundMb = peakResidentMb();
    QElapsedTimer wall;
    wall.start();
    const double cpuBefore = bench::selfCpuSeconds();
    const align::Alignment alignment = alignLesson(lesson);
    const double cpu = bench::selfCpuSeconds() - cpuBefore;
    const QString extra = QStringLiteral("\"lesson_minutes\": %1, \"sentences\": %2")
                              .arg(minutes, 0, 'f', 1)
                              .arg(lesson.words.size());
    bench::print("align_long_lesson_cpu", cpu, "s",
                 QStringLiteral("\"target\": \"<= 180 per 60 min\", \"wall_s\": %1, ")
                         .arg(double(wall.elapsed()) / 1000, 0, 'f', 1) +
                     extra);
    bench::print("align_long_lesson_peak_rss", peakResidentMb(), "MB",
                 QStringLiteral("\"target\": \"< 300\", \"before_aligning_mb\": %1, ")
                         .arg(soundMb, 0, 'f', 1) +
                     extra);
    report(QStringLiteral("long_lesson"), score(lesson, alignment, QStringLiteral("long lesson")));
    // how soon an alignment under way returns once cancelled, as closing a lesson asks
    double slowest = 0;
    for (const int afterMs : {300, 1100, 2300, 3700, 5000}) {
        std::atomic<bool> cancel{false};
        std::atomic<qint64> cancelledAt{0};
        QElapsedTimer clock;
        clock.start();
        std::thread aligning([&] { align::alignWords(lesson.sound, lesson.words, cancel); });
        std::this_thread::sleep_for(std::chrono::milliseconds(afterMs));
        cancelledAt = clock.nsecsElapsed();
        cancel = true;
        aligning.join();
        slowest = std::max(slowest, double(clock.nsecsElapsed() - cancelledAt) / 1e6);
    }
    bench::print("align_cancel_latency_max", slowest, "ms",
                 QStringLiteral("\"target\": \"< 100\""));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--align-long-lesson") == 0)
        return alignLongLesson(QString::fromLocal8Bit(argv[2]));
    QTemporaryDir dir;
    const int rate =
        espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
    if (!dir.isValid() || rate <= 0) {
        std::fprintf(stderr, "the speech synthesizer (libespeak-ng) did not start\n");
        return 1;
    }
    if (!measureConditions(dir, rate))
        return 1;
    const double minutes = qEnvironmentVariableIsSet("VORLYN_BENCH_ALIGN_MINUTES")
                               ? qEnvironmentVariable("VORLYN_BENCH_ALIGN_MINUTES").toDouble()
                               : 60;
    if (!makeLongLesson(dir, rate, minutes * 60))
        return 1;
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QStringLiteral("/proc/self/exe"),
                {QStringLiteral("--align-long-lesson"), dir.path()});
    return child.waitForFinished(-1) && child.exitCode() == 0 ? 0 : 1;
}
