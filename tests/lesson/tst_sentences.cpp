// A lesson's sentences: subtitle files in each format and encoding, faulty cues, the
// padding between cues, subtitles inside an MP4, the files found beside a lesson, pauses
// found in synthetic speech, the analysis cache, and the background analyser.
#include "lesson/sentences.h"
#include "lesson/speechanalyser.h"

#include "support/mediafixtures.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QTest>
#include <QThread>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace lesson;

Q_DECLARE_METATYPE(std::vector<lesson::Sentence>)

namespace {

// Subtitle text of each format with three cues: plain text with a tag, a two-line
// Chinese one, and one overlapping the second.
QString subtitleText(const QString &format)
{
    if (format == QLatin1String("srt"))
        return QStringLiteral("1\n00:00:01,000 --> 00:00:02,500\nHello <i>there</i>\n\n"
                              "2\n00:00:03,000 --> 00:00:04,000\n你好，\n世界\n\n"
                              "3\n00:00:03,500 --> 00:00:05,000\nOverlap\n");
    if (format == QLatin1String("vtt"))
        return QStringLiteral("WEBVTT\n\n00:01.000 --> 00:02.500\nHello <i>there</i>\n\n"
                              "00:03.000 --> 00:04.000\n你好，\n世界\n\n"
                              "00:03.500 --> 00:05.000\nOverlap\n");
    return QStringLiteral(
        "[Script Info]\nScriptType: v4.00+\n\n[Events]\n"
        "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
        "Dialogue: 0,0:00:01.00,0:00:02.50,Default,,0,0,0,,Hello {\\i1}there{\\i0}\n"
        "Dialogue: 0,0:00:03.00,0:00:04.00,Default,,0,0,0,,你好，\\N世界\n"
        "Dialogue: 0,0:00:03.50,0:00:05.00,Default,,0,0,0,,Overlap\n");
}

QByteArray encoded(const QString &text, const QString &encoding)
{
    if (encoding == QLatin1String("utf-8"))
        return text.toUtf8();
    if (encoding == QLatin1String("utf-8 bom"))
        return "\xEF\xBB\xBF" + text.toUtf8();
    QStringEncoder encoder(encoding == QLatin1String("utf-16") ? "UTF-16LE" : "GB18030",
                           encoding == QLatin1String("utf-16") ? QStringConverter::Flag::WriteBom
                                                               : QStringConverter::Flag::Default);
    return encoder.isValid() ? QByteArray(encoder(text)) : QByteArray();
}

QString joinedTexts(const std::vector<Sentence> &items)
{
    QStringList texts;
    for (const Sentence &s : items)
        texts += s.text;
    return texts.join(u'|');
}

// A 16-bit mono WAV file of samples at rate.
bool writeWav(const QString &path, const std::vector<int16_t> &samples, int rate)
{
    QByteArray wav;
    const auto u32 = [&](quint32 v) { wav.append(reinterpret_cast<const char *>(&v), 4); };
    const auto u16 = [&](quint16 v) { wav.append(reinterpret_cast<const char *>(&v), 2); };
    const auto data = quint32(samples.size() * 2);
    wav += "RIFF";
    u32(36 + data);
    wav += "WAVEfmt ";
    u32(16);
    u16(1);
    u16(1);
    u32(quint32(rate));
    u32(quint32(rate) * 2);
    u16(2);
    u16(16);
    wav += "data";
    u32(data);
    wav.append(reinterpret_cast<const char *>(samples.data()), qsizetype(data));
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(wav) == wav.size();
}

// The samples of a 16-bit mono WAV file as espeak-ng writes it, and its rate.
std::vector<int16_t> readWav(const QString &path, int &rate)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    const qsizetype data = bytes.indexOf("data");
    if (bytes.size() < 44 || data < 0)
        return {};
    rate = qFromLittleEndian<qint32>(bytes.constData() + 24);
    std::vector<int16_t> samples(size_t(bytes.size() - data - 8) / 2);
    std::memcpy(samples.data(), bytes.constData() + data + 8, samples.size() * 2);
    return samples;
}

} // namespace

class TestSentences : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void readsEveryFormatAndEncoding_data();
    void readsEveryFormatAndEncoding();
    void faultyCues_data();
    void faultyCues();
    void notSubtitles_data();
    void notSubtitles();
    void cuesBecomeSentences_data();
    void cuesBecomeSentences();
    void embeddedSubtitles();
    void subtitleFilesBeside();
    void sentencesAtSpeechPauses();
    void cacheKeepsTheAnalysisOfTheFileAsItIs();
    void analyserReportsInTheOwnersThreadAndCancels();

private:
    bool writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile f(fx.path(name));
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }
    QString cacheFolder() const
    {
        return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
               QStringLiteral("/sentences");
    }

    MediaFixtures fx;
    // the speech lesson: where each of its pauses starts and ends
    std::vector<Pause> spokenPauses;
    double spokenSeconds = 0;
};

void TestSentences::initTestCase()
{
    QVERIFY(fx.dir.isValid());
    QStandardPaths::setTestModeEnabled(true);
    QDir(cacheFolder()).removeRecursively();

    // twenty-one sentences spoken by espeak-ng, their own silence cut off, joined with pauses
    // of 300 to 800 ms, over a faint noise so that no stretch is digital silence; the short
    // "Thank you" stands between two pauses of 600 ms
    const QStringList spoken = {
        QStringLiteral("The weather was warm and bright this morning"),
        QStringLiteral("She walked slowly to the station near the river"),
        QStringLiteral("Our teacher asked us to write a short story"),
        QStringLiteral("Please close the window before you leave the room"),
        QStringLiteral("He bought three apples and a loaf of bread"),
        QStringLiteral("The train to London leaves at half past nine"),
        QStringLiteral("My brother plays football every Saturday afternoon"),
        QStringLiteral("We should finish the report by Friday"),
        QStringLiteral("The children laughed at the funny old clown"),
        QStringLiteral("Can you tell me the way to the museum"),
        QStringLiteral("Thank you"),
        QStringLiteral("It started to rain just after lunch"),
        QStringLiteral("They have lived in this town for ten years"),
        QStringLiteral("The library opens early on weekdays"),
        QStringLiteral("I forgot my umbrella on the bus yesterday"),
        QStringLiteral("Water boils at one hundred degrees"),
        QStringLiteral("The little cat slept on the warm blanket"),
        QStringLiteral("Our neighbours are painting their house green"),
        QStringLiteral("Good habits make learning much easier"),
        QStringLiteral("The meeting was moved to next Tuesday"),
        QStringLiteral("Thank you for listening to this lesson")};
    const int pauseMs[] = {300, 550, 800, 420, 650, 350, 700, 480, 760, 600,
                           600, 600, 400, 720, 520, 380, 680, 450, 780, 330};
    std::vector<int16_t> lesson;
    int rate = 0;
    for (qsizetype i = 0; i < spoken.size(); ++i) {
        const QString wav = fx.path(QStringLiteral("sentence%1.wav").arg(i));
        QProcess espeak;
        espeak.start(QStringLiteral("espeak-ng"), {QStringLiteral("-w"), wav, spoken[i]});
        QVERIFY2(espeak.waitForFinished(60000) && espeak.exitCode() == 0,
                 "espeak-ng (Debian package espeak-ng) must be installed");
        const std::vector<int16_t> samples = readWav(wav, rate);
        const auto loud = [](int16_t s) { return std::abs(int(s)) > 100; };
        const auto first = std::find_if(samples.begin(), samples.end(), loud);
        const auto last = std::find_if(samples.rbegin(), samples.rend(), loud).base();
        QVERIFY(rate > 0 && first < last);
        const size_t gap = size_t(i == 0 ? rate / 2 : rate * pauseMs[i - 1] / 1000);
        if (i > 0)
            spokenPauses.push_back(
                {double(lesson.size()) / rate, double(lesson.size() + gap) / rate});
        lesson.insert(lesson.end(), gap, 0);
        lesson.insert(lesson.end(), first, last);
    }
    lesson.insert(lesson.end(), size_t(rate / 2), 0);
    quint32 noise = 12345;
    for (int16_t &s : lesson) {
        noise = noise * 1664525u + 1013904223u;
        s = int16_t(std::clamp(int(s) + int(noise >> 26) - 32, -32768, 32767));
    }
    QVERIFY(writeWav(fx.path(QStringLiteral("speech.wav")), lesson, rate));
    spokenSeconds = double(lesson.size()) / rate;
}

void TestSentences::readsEveryFormatAndEncoding_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("encoding");
    for (const char *format : {"srt", "vtt", "ass"})
        for (const char *encoding : {"utf-8", "utf-8 bom", "utf-16", "gb18030"})
            QTest::addRow("%s %s", format, encoding)
                << QString::fromLatin1(format) << QString::fromLatin1(encoding);
}

void TestSentences::readsEveryFormatAndEncoding()
{
    QFETCH(QString, format);
    QFETCH(QString, encoding);
    const QByteArray bytes = encoded(subtitleText(format), encoding);
    QVERIFY(!bytes.isEmpty());
    const QString name = QStringLiteral("cues-%1.%2").arg(encoding, format).remove(u' ');
    QVERIFY(writeFile(name, bytes));

    QString error;
    const std::optional<Sentences> read = readSubtitleFile(fx.path(name), 10.0, &error);
    QVERIFY2(read, qPrintable(error));
    QCOMPARE(read->source, SentenceSource::SubtitleFile);
    QCOMPARE(read->origin, fx.path(name));
    QCOMPARE(read->notes, QStringList());
    QCOMPARE(joinedTexts(read->items), QStringLiteral("Hello there|你好， 世界|Overlap"));
    // moved by the offset, padded, the overlapping cue starting where the one before ends
    const std::vector<std::pair<double, double>> times = {
        {10.85, 12.75}, {12.85, 14.0}, {14.0, 15.25}};
    for (size_t i = 0; i < times.size(); ++i) {
        QVERIFY2(qAbs(read->items[i].start - times[i].first) < 1e-6,
                 qPrintable(QString::number(read->items[i].start)));
        QVERIFY2(qAbs(read->items[i].end - times[i].second) < 1e-6,
                 qPrintable(QString::number(read->items[i].end)));
    }
}

void TestSentences::faultyCues_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<int>("notes");

    // out of order, without length, without text, with a timing that cannot be read,
    // wholly inside another
    QTest::newRow("srt") << QStringLiteral("faulty.srt")
                         << QByteArray("1\n00:00:05,000 --> 00:00:06,000\nLater\n\n"
                                       "2\n00:00:10,000 --> 00:00:1x,000\nBroken\n\n"
                                       "3\n00:00:01,000 --> 00:00:03,000\nFirst\n\n"
                                       "4\n00:00:07,000 --> 00:00:07,000\nNo length\n\n"
                                       "5\n00:00:08,000 --> 00:00:09,000\n{\\i1}{\\i0}\n\n"
                                       "6\n00:00:01,500 --> 00:00:02,000\nInside\n")
                         << QStringLiteral("First Inside|Later") << 3;
    // a WebVTT reader stops at a timing it cannot read, so that one comes last
    QTest::newRow("vtt") << QStringLiteral("faulty.vtt")
                         << QByteArray("WEBVTT\n\n00:05.000 --> 00:06.000\nLater\n\n"
                                       "00:01.000 --> 00:03.000\nFirst\n\n"
                                       "00:07.000 --> 00:07.000\nNo length\n\n"
                                       "00:08.000 --> 00:09.000\n<i></i>\n\n"
                                       "00:01.500 --> 00:02.000\nInside\n\n"
                                       "00:10.000 --> 00:1x.000\nBroken\n")
                         << QStringLiteral("First Inside|Later") << 3;
    QTest::newRow("ass") << QStringLiteral("faulty.ass")
                         << QByteArray("[Script Info]\nScriptType: v4.00+\n\n[Events]\n"
                                       "Format: Layer, Start, End, Style, Name, MarginL, "
                                       "MarginR, MarginV, Effect, Text\n"
                                       "Dialogue: 0,0:00:05.00,0:00:06.00,,,0,0,0,,Later\n"
                                       "Dialogue: 0,0:00:01.00,0:00:03.00,,,0,0,0,,First\n"
                                       "Dialogue: 0,0:00:07.00,0:00:07.00,,,0,0,0,,No length\n"
                                       "Dialogue: 0,0:00:08.00,0:00:09.00,,,0,0,0,,{\\i1}\n"
                                       "Dialogue: 0,0:00:1x.00,0:00:11.00,,,0,0,0,,Broken\n"
                                       "Dialogue: 0,0:00:01.50,0:00:02.00,,,0,0,0,,Inside\n")
                         << QStringLiteral("First Inside|Later") << 3;
}

void TestSentences::faultyCues()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, text);
    QFETCH(QString, kept);
    QFETCH(int, notes);
    QVERIFY(writeFile(name, text));
    QString error;
    const std::optional<Sentences> read = readSubtitleFile(fx.path(name), 0, &error);
    QVERIFY2(read, qPrintable(error));
    QCOMPARE(joinedTexts(read->items), kept);
    QVERIFY2(read->notes.size() == notes, qPrintable(read->notes.join(u'\n')));
    // the notes say where: no length at 0:07.0, no text at 0:08.0
    QVERIFY2(read->notes.filter(QStringLiteral("0:07.0")).size() == 1 &&
                 read->notes.filter(QStringLiteral("0:08.0")).size() == 1,
             qPrintable(read->notes.join(u'\n')));
    QCOMPARE(read->items.front().start, 0.85);
    QCOMPARE(read->items.front().end, 3.25);
}

void TestSentences::notSubtitles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("prose") << QStringLiteral("prose.srt")
                           << QByteArray("Once upon a time there was a lesson.\n\nThe end.\n");
    QTest::newRow("binary") << QStringLiteral("binary.vtt")
                            << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10", 20);
    QTest::newRow("empty") << QStringLiteral("empty.ass") << QByteArray();
    QTest::newRow("unknown suffix") << QStringLiteral("notes.txt") << QByteArray("1\n2\n3\n");
    QTest::newRow("missing") << QStringLiteral("missing.srt") << QByteArray();
}

void TestSentences::notSubtitles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    if (name != QLatin1String("missing.srt"))
        QVERIFY(writeFile(name, bytes));
    QString error;
    QVERIFY(!readSubtitleFile(fx.path(name), 0, &error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(fx.path(name))), qPrintable(error));
}

void TestSentences::cuesBecomeSentences_data()
{
    QTest::addColumn<std::vector<Sentence>>("cues");
    QTest::addColumn<std::vector<Sentence>>("sentences");
    QTest::addColumn<int>("notes");
    const auto s = [](double a, double b, const char *t = "x") {
        return Sentence{a, b, QString::fromUtf8(t)};
    };
    QTest::newRow("wide gaps, first near zero")
        << std::vector{s(0.1, 1), s(2, 3)} << std::vector{s(0, 1.25), s(1.85, 3.25)} << 0;
    // 0.3 s between: the pad before takes its 0.15, the pad after the rest
    QTest::newRow("narrow gap split")
        << std::vector{s(1, 2), s(2.3, 3)} << std::vector{s(0.85, 2.15), s(2.15, 3.25)} << 0;
    QTest::newRow("gap shorter than both pads")
        << std::vector{s(1, 2), s(2.2, 3)} << std::vector{s(0.85, 2.1), s(2.1, 3.25)} << 0;
    QTest::newRow("touching") << std::vector{s(1, 2), s(2, 3)}
                              << std::vector{s(0.85, 2), s(2, 3.25)} << 0;
    QTest::newRow("same start joins")
        << std::vector{s(1, 2, "a"), s(1, 3, "b")} << std::vector{s(0.85, 3.25, "a b")} << 0;
    QTest::newRow("overlap starts at the end before")
        << std::vector{s(1, 3, "a"), s(2, 4, "b")} << std::vector{s(0.85, 3, "a"), s(3, 4.25, "b")}
        << 0;
    QTest::newRow("out of order, empty, no length")
        << std::vector{s(5, 6, "b"), s(1, 2, "a"), s(3, 3, "c"), s(4, 4.5, " ")}
        << std::vector{s(0.85, 2.25, "a"), s(4.85, 6.25, "b")} << 2;
    // an overflowed time in the file: a cue wholly before the lesson's start
    QTest::newRow("before the start, and across it")
        << std::vector{s(-2.2e9, -2.1e9, "a"), s(-1, 0.5, "b")} << std::vector{s(0, 0.75, "b")}
        << 1;
}

void TestSentences::cuesBecomeSentences()
{
    QFETCH(std::vector<Sentence>, cues);
    QFETCH(std::vector<Sentence>, sentences);
    QFETCH(int, notes);
    QStringList said;
    const std::vector<Sentence> got = sentencesFromCues(cues, said);
    QCOMPARE(said.size(), notes);
    QCOMPARE(got.size(), sentences.size());
    for (size_t i = 0; i < got.size(); ++i) {
        QCOMPARE(got[i].text, sentences[i].text);
        QVERIFY2(
            qAbs(got[i].start - sentences[i].start) < 1e-9 &&
                qAbs(got[i].end - sentences[i].end) < 1e-9,
            qPrintable(QStringLiteral("%1: %2 to %3").arg(i).arg(got[i].start).arg(got[i].end)));
    }
}

void TestSentences::embeddedSubtitles()
{
    QVERIFY(
        writeFile(QStringLiteral("embedded.srt"), subtitleText(QStringLiteral("srt")).toUtf8()));
    QVERIFY(fx.make(QStringLiteral("embedded.mp4"),
                    MediaFixtures::videoSource(QStringLiteral("160x120"), 6) +
                        MediaFixtures::toneSource(6) +
                        QStringList{QStringLiteral("-i"), fx.path(QStringLiteral("embedded.srt"))} +
                        MediaFixtures::h264() +
                        QStringList{QStringLiteral("-c:a"), QStringLiteral("aac"),
                                    QStringLiteral("-c:s"), QStringLiteral("mov_text")}));
    QString error = QStringLiteral("not cleared");
    const std::optional<Sentences> read =
        readEmbeddedSubtitles(fx.path(QStringLiteral("embedded.mp4")), &error);
    QVERIFY2(read, qPrintable(error));
    QCOMPARE(read->source, SentenceSource::EmbeddedSubtitles);
    QCOMPARE(joinedTexts(read->items), QStringLiteral("Hello there|你好， 世界|Overlap"));
    QVERIFY2(qAbs(read->items[1].start - 2.85) < 1e-3 && qAbs(read->items[2].end - 5.25) < 1e-3,
             qPrintable(QStringLiteral("%1 %2").arg(read->items[1].start).arg(read->items[2].end)));

    // no text subtitles: nothing, and nothing to complain about; no file: a message
    QVERIFY(fx.makeClip(QStringLiteral("plain.mp4"), {}));
    QVERIFY(!readEmbeddedSubtitles(fx.path(QStringLiteral("plain.mp4")), &error));
    QVERIFY(error.isEmpty());
    QVERIFY(!readEmbeddedSubtitles(fx.path(QStringLiteral("gone.mp4")), &error));
    QVERIFY(!error.isEmpty());
}

void TestSentences::subtitleFilesBeside()
{
    QVERIFY(fx.dir.isValid());
    QDir dir(fx.path(QStringLiteral("beside")));
    QVERIFY(dir.mkpath(QStringLiteral(".")));
    for (const char *name :
         {"lesson.mp4", "lesson.EN.vtt", "lesson.SRT", "lesson.ass", "lesson.zh.srt", "lessons.srt",
          "lesson.en.txt", "other.srt", "lesson.a.b.srt", "lesson.ssa"}) {
        QFile f(dir.filePath(QLatin1String(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QStringList expected;
    for (const char *name :
         {"lesson.SRT", "lesson.ass", "lesson.ssa", "lesson.zh.srt", "lesson.EN.vtt"})
        expected += dir.filePath(QLatin1String(name));
    QCOMPARE(lesson::subtitleFilesBeside(dir.filePath(QStringLiteral("lesson.mp4"))), expected);
}

void TestSentences::sentencesAtSpeechPauses()
{
    std::atomic<bool> cancel{false};
    std::vector<double> reported;
    const std::optional<SpeechAnalysis> found = analyseSpeech(
        fx.path(QStringLiteral("speech.wav")), cancel, [&](double f) { reported.push_back(f); });
    QVERIFY(found);
    QVERIFY(!reported.empty() && reported.back() == 1.0);
    QVERIFY(std::is_sorted(reported.begin(), reported.end()));

    // each known pause holds the boundary between its two sentences
    const std::vector<Sentence> &items = found->sentences.items;
    std::vector<double> distances;
    int inside = 0;
    for (const Pause &p : spokenPauses) {
        const double centre = (p.start + p.end) / 2;
        double nearest = HUGE_VAL;
        for (size_t i = 1; i < items.size(); ++i) {
            const double boundary = (items[i - 1].end + items[i].start) / 2;
            if (qAbs(boundary - centre) < qAbs(nearest - centre))
                nearest = boundary;
        }
        inside += nearest >= p.start && nearest <= p.end;
        distances.push_back(qAbs(nearest - centre));
    }
    std::sort(distances.begin(), distances.end());
    qInfo("boundaries inside the pauses: %d of %zu; median distance to the pause centre: "
          "%.0f ms; sentences found: %zu",
          inside, spokenPauses.size(), distances[distances.size() / 2] * 1000, items.size());
    QCOMPARE(inside, int(spokenPauses.size()));
    QCOMPARE(items.size(), spokenPauses.size() + 1);
    for (size_t i = 0; i < items.size(); ++i) {
        QVERIFY(items[i].end - items[i].start >= 0.5 && items[i].end - items[i].start <= 12.0);
        QVERIFY(i == 0 || items[i].start >= items[i - 1].end);
    }

    // peaks: one pair each 10 ms from the start, faint in a pause and loud in speech
    const Peaks &peaks = found->peaks;
    QCOMPARE(peaks.start, 0.0);
    QCOMPARE(peaks.low.size(), peaks.high.size());
    QVERIFY2(qAbs(double(peaks.high.size()) - spokenSeconds * 100) <= 1,
             qPrintable(QString::number(peaks.high.size())));
    const auto at = [&](double t) { return size_t(t * peaks.perSecond); };
    const size_t quiet = at((spokenPauses[2].start + spokenPauses[2].end) / 2);
    QVERIFY2(peaks.high[quiet] < 200 && peaks.low[quiet] > -200,
             qPrintable(QStringLiteral("%1 %2").arg(peaks.high[quiet]).arg(peaks.low[quiet])));
    const auto loudest =
        *std::max_element(peaks.high.begin() + qsizetype(at(spokenPauses[2].end)),
                          peaks.high.begin() + qsizetype(at(spokenPauses[3].start)));
    QVERIFY2(loudest > 3000, qPrintable(QString::number(loudest)));
}

void TestSentences::cacheKeepsTheAnalysisOfTheFileAsItIs()
{
    const QString media = fx.path(QStringLiteral("cached.mp3"));
    QVERIFY(fx.make(QStringLiteral("cached.mp3"), MediaFixtures::toneSource(2)));
    QVERIFY(!cachedAnalysis(media));

    SpeechAnalysis analysis;
    analysis.sentences = {SentenceSource::SpeechPauses,
                          media,
                          {{0.5, 1.5, {}}, {2, 3, {}}},
                          {QStringLiteral("a note ü")}};
    analysis.pauses = {{1.5, 2.0}};
    analysis.peaks = {0.25, 100, {-3, -32768, 0}, {4, 32767, 0}};
    storeAnalysis(media, analysis);
    const std::optional<SpeechAnalysis> kept = cachedAnalysis(media);
    QVERIFY(kept);
    QCOMPARE(kept->sentences.source, analysis.sentences.source);
    QCOMPARE(kept->sentences.origin, media);
    QCOMPARE(kept->sentences.notes, analysis.sentences.notes);
    QCOMPARE(kept->sentences.items.size(), size_t(2));
    QCOMPARE(kept->sentences.items[1].end, 3.0);
    QCOMPARE(kept->pauses.front().end, 2.0);
    QCOMPARE(kept->peaks.start, 0.25);
    QCOMPARE(kept->peaks.low, analysis.peaks.low);
    QCOMPARE(kept->peaks.high, analysis.peaks.high);

    // the cache file cut short or replaced by something else is ignored
    const QStringList files = QDir(cacheFolder()).entryList(QDir::Files);
    QCOMPARE(files.size(), 1);
    QFile file(QDir(cacheFolder()).filePath(files.front()));
    QVERIFY(file.open(QIODevice::ReadWrite));
    const QByteArray whole = file.readAll();
    for (const QByteArray &damaged : {whole.left(whole.size() - 1), whole.left(30),
                                      QByteArray(whole.size(), '\xff'), QByteArray()}) {
        QVERIFY(file.resize(0) && file.seek(0) && file.write(damaged) == damaged.size());
        QVERIFY(file.flush());
        QVERIFY(!cachedAnalysis(media));
    }
    QVERIFY(file.resize(0) && file.seek(0) && file.write(whole) == whole.size());
    file.close();
    QVERIFY(cachedAnalysis(media));

    // the lesson changed since: another modification time, or another size
    const QDateTime earlier = QDateTime::currentDateTime().addSecs(-3600);
    QFile changed(media);
    QVERIFY(changed.open(QIODevice::ReadWrite));
    QVERIFY(changed.setFileTime(earlier, QFileDevice::FileModificationTime));
    QVERIFY(!cachedAnalysis(media));
    storeAnalysis(media, analysis);
    QVERIFY(cachedAnalysis(media));
    QVERIFY(changed.seek(changed.size()) && changed.write("x", 1) == 1 && changed.flush());
    QVERIFY(changed.setFileTime(earlier, QFileDevice::FileModificationTime));
    changed.close();
    QVERIFY(!cachedAnalysis(media));
}

void TestSentences::analyserReportsInTheOwnersThreadAndCancels()
{
    // a long lesson, for a pass that is still going when it is given up
    const QString longLesson = fx.path(QStringLiteral("long.mp3"));
    QVERIFY(fx.make(QStringLiteral("long.mp3"),
                    MediaFixtures::toneSource(1200, 16000, 1) +
                        QStringList{QStringLiteral("-b:a"), QStringLiteral("32k")}));
    const QString speech = fx.path(QStringLiteral("speech.wav"));
    {
        SpeechAnalyser analyser;
        QSignalSpy progress(&analyser, &SpeechAnalyser::progress);
        QSignalSpy finished(&analyser, &SpeechAnalyser::finished);
        QSignalSpy failed(&analyser, &SpeechAnalyser::failed);
        int elsewhere = 0;
        connect(&analyser, &SpeechAnalyser::finished, this,
                [&] { elsewhere += QThread::currentThread() != thread(); });

        analyser.start(speech);
        QCOMPARE(finished.size() + progress.size(), 0); // nothing from inside start()
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 60000);
        QCOMPARE(finished.last().at(0).value<SpeechAnalysis>().sentences.items.size(),
                 spokenPauses.size() + 1);
        // again: from the cache
        progress.clear();
        analyser.start(speech);
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 2, 60000);
        QCOMPARE(progress.size(), 0);
        QCOMPARE(elsewhere, 0);

        // a file without sound fails
        QVERIFY(
            writeFile(QStringLiteral("nosound.srt"), subtitleText(QStringLiteral("srt")).toUtf8()));
        analyser.start(fx.path(QStringLiteral("nosound.srt")));
        QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, 60000);

        // given up mid-pass: nothing more is reported, and the next pass is unharmed
        analyser.start(longLesson);
        QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty(), 60000);
        QElapsedTimer cancelling;
        cancelling.start();
        analyser.cancel();
        qInfo("cancel returned after %lld ms", cancelling.elapsed());
        const qsizetype seen = progress.size();
        QVERIFY(progress.last().at(0).toDouble() < 1.0);
        // the thread is joined: what it posted before is all there is to deliver
        QCoreApplication::processEvents();
        QCOMPARE(progress.size(), seen);
        QCOMPARE(finished.size(), 2);
        QCOMPARE(failed.size(), 1);
    }
    // destroyed mid-pass: the thread is joined and nothing arrives after
    auto *analyser = new SpeechAnalyser;
    QSignalSpy progress(analyser, &SpeechAnalyser::progress);
    analyser->start(longLesson);
    QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty(), 60000);
    QVERIFY(progress.last().at(0).toDouble() < 1.0);
    QElapsedTimer destroying;
    destroying.start();
    delete analyser;
    qInfo("destruction returned after %lld ms", destroying.elapsed());
    QCoreApplication::processEvents();
    QVERIFY(!cachedAnalysis(longLesson));
}

QTEST_GUILESS_MAIN(TestSentences)
#include "tst_sentences.moc"
