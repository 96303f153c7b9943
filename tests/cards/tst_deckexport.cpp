// A deck of flashcards written from review items kept by the lesson store: the file's headers
// and rows read back, each clip decoded by FFmpeg to the sentence's length and sound, each
// word card's word sound to the synthesizer's length, an export cancelled midway that leaves
// nothing behind, and items whose lesson is gone left out.
#include "cards/deckexport.h"
#include "lesson/lessonstore.h"
#include "media/audioresampler.h"
#include "media/ffmpeg.h"
#include "support/mediafixtures.h"
#include "testfiles.h"

#include <QDir>
#include <QTest>

#include <cmath>

using namespace cards;
using lesson::ReviewItem;

namespace {

// The clip decoded: mono samples at its own rate; none when FFmpeg cannot read it.
struct Decoded
{
    int rate = 0;
    std::vector<int16_t> samples;

    double seconds() const { return rate ? double(samples.size()) / rate : 0; }
    // The root mean square (full scale 1) from `from` to `to` seconds.
    double loudness(double from, double to) const
    {
        const auto a = size_t(from * rate);
        const auto b = std::min(samples.size(), size_t(to * rate));
        double sum = 0;
        for (size_t i = a; i < b; ++i)
            sum += double(samples[i]) * samples[i];
        return b > a ? std::sqrt(sum / double(b - a)) / 32768 : 0;
    }
};

Decoded decode(const QString &file)
{
    Decoded out;
    AVFormatContext *raw = nullptr;
    if (avformat_open_input(&raw, QFile::encodeName(file).constData(), nullptr, nullptr) < 0)
        return out;
    const media::FormatContextPtr ctx(raw);
    const int index = avformat_find_stream_info(ctx.get(), nullptr) < 0
                          ? -1
                          : av_find_best_stream(ctx.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (index < 0)
        return out;
    const AVCodecParameters *par = ctx->streams[index]->codecpar;
    const AVCodec *codec = avcodec_find_decoder(par->codec_id);
    const media::CodecContextPtr dec(avcodec_alloc_context3(codec));
    if (avcodec_parameters_to_context(dec.get(), par) < 0)
        return out;
    dec->pkt_timebase = ctx->streams[index]->time_base;
    if (avcodec_open2(dec.get(), codec, nullptr) < 0)
        return out;
    AudioResampler resampler;
    resampler.setOutput(par->sample_rate, 1);
    std::vector<uint8_t> buffer(1 << 16);
    const media::PacketPtr pkt = media::allocPacket();
    const media::FramePtr frame = media::allocFrame();
    bool more = true;
    while (more) {
        more = av_read_frame(ctx.get(), pkt.get()) >= 0;
        if (more && pkt->stream_index != index) {
            av_packet_unref(pkt.get());
            continue;
        }
        avcodec_send_packet(dec.get(), more ? pkt.get() : nullptr);
        av_packet_unref(pkt.get());
        while (avcodec_receive_frame(dec.get(), frame.get()) >= 0) {
            const int bytes = resampler.convert(frame.get(), buffer.data(), int(buffer.size()));
            const auto *s = reinterpret_cast<const int16_t *>(buffer.data());
            out.samples.insert(out.samples.end(), s, s + std::max(bytes, 0) / 2);
            av_frame_unref(frame.get());
        }
    }
    out.rate = par->sample_rate;
    return out;
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// A sound on for the first second of every two (a 440 Hz tone) and silent for the next.
QStringList blinkingTone(double seconds)
{
    return {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
            QStringLiteral("aevalsrc=0.5*sin(2*PI*440*t)*lt(mod(t\\,2)\\,1):s=48000:d=%1")
                .arg(seconds)};
}

} // namespace

class TestDeckExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void deckReadsBack_data();
    void deckReadsBack();
    void cancelledExportLeavesNothing();
    void itemsWithoutTheirLessonAreLeftOut();

private:
    // Review items of the lesson file kept by a store of their own (the last made:
    // lastStore()): three sentences, the words each missed and those words, their times
    // moved by shift.
    std::vector<ReviewItem> itemsOf(const QString &lesson, double shift);
    QString lastStore() const { return work.filePath(QStringLiteral("memory%1.db").arg(stores)); }

    MediaFixtures media;
    QTemporaryDir work;
    int stores = 0;
};

void TestDeckExport::initTestCase()
{
    QVERIFY(work.isValid());
    QVERIFY(
        media.make(QStringLiteral("lesson.m4a"),
                   blinkingTone(20) + QStringList{QStringLiteral("-c:a"), QStringLiteral("aac")}));
    QVERIFY(media.make(QStringLiteral("lesson.mp3"),
                       blinkingTone(20) +
                           QStringList{QStringLiteral("-ar"), QStringLiteral("22050"),
                                       QStringLiteral("-c:a"), QStringLiteral("libmp3lame")}));
    // the lesson's clock starts at 5 s, and so do its sentences' times
    QVERIFY(media.make(QStringLiteral("lesson.mka"),
                       blinkingTone(20) +
                           QStringList{QStringLiteral("-c:a"), QStringLiteral("flac"),
                                       QStringLiteral("-output_ts_offset"), QStringLiteral("5")}));
}

std::vector<ReviewItem> TestDeckExport::itemsOf(const QString &lesson, double shift)
{
    ++stores;
    lesson::LessonStore store(lastStore());
    const QDate today = QDate::currentDate();
    // one near the start, sooner than the cutter's run-up to a stretch; one half sound and
    // half silence; one to the end
    const struct
    {
        double start, end;
        const char *text;
        QStringList missed;
    } checks[] = {
        {0.1, 1.25, "Quick, the fox!", {QStringLiteral("quick")}},
        {9.0,
         11.0,
         "The \"brown\" fox <jumps> over\tit.",
         {QStringLiteral("brown"), QStringLiteral("Jumps")}},
        {18.4, 20, "Lazy dog & cat", {}},
    };
    for (const auto &c : checks)
        store.addReviewItems(lesson, {}, {c.start + shift, c.end + shift, QLatin1String(c.text)},
                             0.5, c.missed, today);
    return store.reviewItems();
}

void TestDeckExport::deckReadsBack_data()
{
    QTest::addColumn<QString>("lesson");
    QTest::addColumn<double>("shift");
    QTest::newRow("AAC in MP4, resampled") << QStringLiteral("lesson.m4a") << 0.0;
    QTest::newRow("MP3 at 22.05 kHz") << QStringLiteral("lesson.mp3") << 0.0;
    QTest::newRow("FLAC in Matroska, clock from 5 s") << QStringLiteral("lesson.mka") << 5.0;
}

void TestDeckExport::deckReadsBack()
{
    QFETCH(QString, lesson);
    QFETCH(double, shift);
    const std::vector<ReviewItem> items = itemsOf(media.path(lesson), shift);
    QCOMPARE(items.size(), size_t(6));
    const QString folder = work.filePath(QString::fromUtf8(QTest::currentDataTag()));
    QVERIFY(QDir().mkpath(folder));
    // a file of the learner's by the name of the first clip stays as it is
    const QString mine = QDir(folder).filePath(QStringLiteral("vorlyn-%1.mp3").arg(items[0].id));
    QFile mineFile(mine);
    QVERIFY(mineFile.open(QIODevice::WriteOnly) && mineFile.write("mine") == 4);
    mineFile.close();

    const WordNotes notes{
        {QStringLiteral("jumps"), {QStringLiteral("[dʒʌmps]"), QStringLiteral("v. leaps <up>")}}};
    const std::atomic<bool> cancel{false};
    int reported = 0;
    const QString deckFile = QDir(folder).filePath(QStringLiteral("deck.txt"));
    const DeckResult result = DeckExport::write(deckFile, items, notes, speech::Voice::British,
                                                cancel, [&](int done) { reported = done; });
    QVERIFY2(result.outcome == DeckResult::Outcome::Written, qPrintable(result.why));
    QCOMPARE(result.cards, 6);
    QCOMPARE(result.leftOut, 0);
    QCOMPARE(reported, 6);

    QFile deck(deckFile);
    QVERIFY(deck.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(deck.readAll()).split(u'\n');
    QCOMPARE(lines.mid(0, 3),
             (QStringList{QStringLiteral("#separator:tab"), QStringLiteral("#html:true"),
                          QStringLiteral("#columns:Front\tBack")}));
    QCOMPARE(lines.size(), 3 + 6 + 1);
    QCOMPARE(lines.last(), QString());
    QStringList clips;
    QStringList wordSounds;
    for (size_t i = 0; i < items.size(); ++i) {
        const QStringList fields = lines.at(3 + qsizetype(i)).split(u'\t');
        QCOMPARE(fields.size(), 2);
        // a word card's back says the word as the synthesizer does; a sentence card's has no
        // sound
        const QString &back = fields.at(1);
        const qsizetype mark = back.indexOf(QLatin1String("[sound:"));
        QCOMPARE(mark >= 0, items[i].kind == ReviewItem::Kind::Word);
        if (mark >= 0) {
            wordSounds += back.mid(mark + 7, back.indexOf(u']', mark) - mark - 7);
            QCOMPARE(wordSounds.last(), QStringLiteral("vorlyn-%1-word.mp3").arg(items[i].id));
            const speech::SpokenWord said =
                speech::synthesizeWord(items[i].word, speech::Voice::British);
            QVERIFY2(said.hasSound(), qPrintable(said.error));
            const double length = double(said.samples.size()) / said.sampleRate;
            const Decoded sound = decode(QDir(folder).filePath(wordSounds.last()));
            QVERIFY2(std::abs(sound.seconds() - length) <= 0.050,
                     qPrintable(QStringLiteral("%1: %2 s, said in %3 s")
                                    .arg(wordSounds.last())
                                    .arg(sound.seconds())
                                    .arg(length)));
        }
        const QString &front = fields.at(0);
        QVERIFY2(front.startsWith(QLatin1String("[sound:")), qPrintable(front));
        const QString clip = front.mid(7, front.indexOf(u']') - 7);
        clips += clip;
        const Decoded sound = decode(QDir(folder).filePath(clip));
        QVERIFY2(sound.rate > 0, qPrintable(clip));
        QVERIFY2(std::abs(sound.seconds() - (items[i].end - items[i].start)) <= 0.020,
                 qPrintable(QStringLiteral("%1: %2 s").arg(clip).arg(sound.seconds())));
        // the clip is the stretch of the lesson it names: the tone sounds in the first
        // second of every two of the lesson
        const double start = items[i].start - shift;
        for (double t = 0.1; t + 0.1 < sound.seconds(); t += 0.25) {
            const double lessonTime = std::fmod(start + t, 2.0);
            if (std::abs(lessonTime - 1) < 0.1 || lessonTime < 0.1 || lessonTime > 1.9)
                continue; // too near an edge of the tone
            const double loudness = sound.loudness(t - 0.05, t + 0.05);
            QVERIFY2(lessonTime < 1 ? loudness > 0.2 : loudness < 0.02,
                     qPrintable(QStringLiteral("%1 at %2 s: %3").arg(clip).arg(t).arg(loudness)));
        }
    }
    QCOMPARE(clips.first(), QStringLiteral("vorlyn-%1-2.mp3").arg(items[0].id));
    QCOMPARE(clips.last(), QStringLiteral("vorlyn-%1.mp3").arg(items.back().id));
    QCOMPARE(readAll(mine), QByteArray("mine"));
    QStringList expected =
        clips + wordSounds + QStringList{QStringLiteral("deck.txt"), QFileInfo(mine).fileName()};
    expected.sort();
    QCOMPARE(entries(folder), expected);

    // the cards, escaped: a sentence with its missed words blanked, a word's card with its
    // note, a sentence that missed none asks for all of it
    const auto row = [&](qsizetype i) { return lines.at(3 + i).section(u'\t', 0, 0); };
    const auto back = [&](qsizetype i) { return lines.at(3 + i).section(u'\t', 1); };
    QCOMPARE(row(0).section(QLatin1String("<br>"), 1), QStringLiteral("_____, the fox!"));
    QCOMPARE(row(2).section(QLatin1String("<br>"), 1),
             QStringLiteral("The &quot;_____&quot; fox &lt;_____&gt; over it."));
    QCOMPARE(row(4).section(QLatin1String("<br>"), 1),
             QStringLiteral("The &quot;brown&quot; fox &lt;_____&gt; over it."));
    QCOMPARE(back(4), QStringLiteral("The &quot;brown&quot; fox &lt;<b>jumps</b>&gt; over it."
                                     "<br><b>Jumps</b> [dʒʌmps]<br>v. leaps &lt;up&gt;"
                                     "<br>[sound:vorlyn-%1-word.mp3]")
                          .arg(items[4].id));
    QCOMPARE(row(5).section(QLatin1String("<br>"), 1), QStringLiteral("Write down what you hear."));
}

void TestDeckExport::cancelledExportLeavesNothing()
{
    const std::vector<ReviewItem> items = itemsOf(media.path(QStringLiteral("lesson.m4a")), 0);
    const QString folder = work.filePath(QStringLiteral("cancelled"));
    QVERIFY(QDir().mkpath(folder));
    std::atomic<bool> cancel{false};
    int reported = 0;
    const DeckResult result =
        DeckExport::write(QDir(folder).filePath(QStringLiteral("deck.txt")), items, {},
                          speech::Voice::American, cancel, [&](int done) {
                              reported = done;
                              cancel = true;
                          });
    QVERIFY(result.outcome == DeckResult::Outcome::Cancelled);
    QCOMPARE(reported, 1);
    QCOMPARE(entries(folder), QStringList());
}

void TestDeckExport::itemsWithoutTheirLessonAreLeftOut()
{
    const QString gone = work.filePath(QStringLiteral("gone.m4a"));
    QVERIFY(QFile::copy(media.path(QStringLiteral("lesson.m4a")), gone));
    QCOMPARE(itemsOf(gone, 0).size(), size_t(6));
    QVERIFY(QFile::remove(gone));
    // the store lists them as needing their file now
    std::vector<ReviewItem> items = lesson::LessonStore(lastStore()).reviewItems();
    QCOMPARE(items.size(), size_t(6));
    for (const ReviewItem &item : items)
        QVERIFY(item.needsFile);
    const std::vector<ReviewItem> kept = itemsOf(media.path(QStringLiteral("lesson.mp3")), 0);
    // a lesson file that went after the store looked is left out all the same
    ReviewItem late = kept.front();
    late.lessonFile = gone;
    items.insert(items.end(), kept.begin(), kept.end());
    items.push_back(late);

    const QString folder = work.filePath(QStringLiteral("partial"));
    QVERIFY(QDir().mkpath(folder));
    const std::atomic<bool> cancel{false};
    const QString deckFile = QDir(folder).filePath(QStringLiteral("deck.txt"));
    DeckResult result = DeckExport::write(deckFile, items, {}, speech::Voice::American, cancel, {});
    QVERIFY2(result.outcome == DeckResult::Outcome::Written, qPrintable(result.why));
    QCOMPARE(result.cards, 6);
    QCOMPARE(result.leftOut, 7);
    // the deck, six clips, and the three word cards' words said
    QCOMPARE(entries(folder).size(), 1 + 6 + 3);

    // with none at hand, no deck at all
    const QString emptyFolder = work.filePath(QStringLiteral("none"));
    QVERIFY(QDir().mkpath(emptyFolder));
    result = DeckExport::write(QDir(emptyFolder).filePath(QStringLiteral("deck.txt")),
                               {items.begin(), items.begin() + 6}, {}, speech::Voice::American,
                               cancel, {});
    QVERIFY(result.outcome == DeckResult::Outcome::Failed);
    QCOMPARE(result.leftOut, 6);
    QCOMPARE(entries(emptyFolder), QStringList());
}

QTEST_GUILESS_MAIN(TestDeckExport)
#include "tst_deckexport.moc"
