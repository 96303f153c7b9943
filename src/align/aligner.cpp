#include "align/aligner.h"

#include "align/phones.h"

#include <pocketsphinx.h>
#include <sphinxbase/ckd_alloc.h>
#include <sphinxbase/err.h>
#include <sphinxbase/fsg_model.h>

#include <QFile>
#include <QHash>
#include <QtGlobal>

#include <algorithm>
#include <memory>
#include <optional>
#include <span>

namespace align {

namespace {

constexpr int framesPerSecond = 100;
constexpr int samplesPerFrame = sampleRate / framesPerSecond;
// How often the decoder looks at the cancel flag.
constexpr int samplesPerChunk = sampleRate / 10;

// The recogniser's base phones; a word of one of them is a piece of garbage, a sound that
// is not the text's.
constexpr const char *basePhones[] = {"AA", "AE", "AH", "AO", "AW", "AY", "B",  "CH", "D",  "DH",
                                      "EH", "ER", "EY", "F",  "G",  "HH", "IH", "IY", "JH", "K",
                                      "L",  "M",  "N",  "NG", "OW", "OY", "P",  "R",  "S",  "SH",
                                      "T",  "TH", "UH", "UW", "V",  "W",  "Y",  "Z",  "ZH"};
// Garbage between sentences, and garbage that stands for a word nobody could pronounce; two
// names, so the path tells which is which. Prepared words have no colon.
constexpr char gapPrefix[] = "gap:";
constexpr char unsaidPrefix[] = "unsaid:";

// The grammar's costs. Leaving a sentence out, or hearing garbage between sentences, is
// unlikely but never impossible, so a mismatch costs one sentence instead of the rest.
constexpr double skipProbability = 1e-6;
constexpr double gapPhoneProbability = 1e-4;

// How far below the best path the decoder keeps others, for every state, at a phone's end and
// at a word's end. The recogniser's defaults lose the path on fast speech; the first beams
// keep it on most, and a window whose path does not reach the grammar's end is heard again
// with the wide ones, which cost more.
struct Beams
{
    double state;
    double phone;
    double word;
};
constexpr Beams beams = {1e-80, 1e-80, 1e-60};
constexpr Beams wideBeams = {1e-160, 1e-160, 1e-140};

// Windows: a block of sentences of about this much speech, over sound that allows for a slow
// speaker and some extra sound; no window is longer than the last figure.
constexpr double blockSeconds = 30;
constexpr double secondsPerPhone = 0.1;
constexpr double windowSlack = 1.25;
constexpr double windowExtraSeconds = 3;
constexpr double maxWindowSeconds = 120;
// Blocks in a row heard nowhere in the sound's end before the rest of the text is given up.
constexpr int unheardBlocksAtEnd = 3;

struct FreeDecoder
{
    void operator()(ps_decoder_t *decoder) const { ps_free(decoder); }
};
struct FreeGrammar
{
    void operator()(fsg_model_t *grammar) const { fsg_model_free(grammar); }
};
using Grammar = std::unique_ptr<fsg_model_t, FreeGrammar>;

// What a word of the text is to the grammar: a dictionary word of so many phones, or garbage.
struct Pronunciation
{
    bool known = false;
    int phones = 0;
};

// One word of the decoder's best path, in frames of its window (the end frame inclusive).
struct Segment
{
    QString word;
    int first = 0;
    int last = 0;
};

bool hasPrefix(const QString &word, const char *prefix)
{
    return word.startsWith(QLatin1StringView(prefix));
}

// The recogniser with the project's settings, and what it has learnt of the text's words.
// Used by one thread at a time.
class Recogniser
{
public:
    bool open(const QString &folder)
    {
        const QByteArray model = QFile::encodeName(folder + QStringLiteral("/en-us"));
        const QByteArray dictionary =
            QFile::encodeName(folder + QStringLiteral("/cmudict-en-us.dict"));
        if (!QFile::exists(QString::fromLocal8Bit(model + "/mdef")) ||
            !QFile::exists(QString::fromLocal8Bit(dictionary)))
            return false;
        // The recogniser reports everything it does on stderr unless told otherwise.
        err_set_logfp(nullptr);
        // Its voice detection shifts words on noisy sound; batch normalisation would need the
        // whole window before the first frame is searched, so cancelling could not be prompt.
        cmd_ln_t *config =
            cmd_ln_init(nullptr, ps_args(), TRUE, "-hmm", model.constData(), "-dict",
                        dictionary.constData(), "-remove_silence", "no", "-cmn", "live", nullptr);
        if (!config)
            return false;
        m_decoder.reset(ps_init(config));
        cmd_ln_free_r(config);
        if (!m_decoder)
            return false;
        for (const char *phone : basePhones) {
            const QByteArray name = QByteArray(phone).toLower();
            ps_add_word(m_decoder.get(), (gapPrefix + name).constData(), phone, FALSE);
            ps_add_word(m_decoder.get(), (unsaidPrefix + name).constData(), phone, FALSE);
        }
        return true;
    }

    Pronunciation pronunciation(const QString &word)
    {
        const auto found = m_pronunciations.constFind(word);
        if (found != m_pronunciations.cend())
            return *found;
        Pronunciation p;
        const QByteArray name = word.toUtf8();
        QString phones;
        if (char *known = ps_lookup_word(m_decoder.get(), name.constData())) {
            phones = QString::fromLatin1(known);
            ckd_free(known);
        } else {
            phones = synthesizedPhones(word);
            if (!phones.isEmpty() && ps_add_word(m_decoder.get(), name.constData(),
                                                 phones.toLatin1().constData(), FALSE) < 0)
                phones.clear();
        }
        if (!phones.isEmpty()) {
            p.known = true;
            p.phones = int(phones.count(u' ')) + 1;
        }
        m_pronunciations.insert(word, p);
        return p;
    }

    // The grammar over a block of sentences: boundary state i lies before sentence i, the
    // last one is final. Each word leads to the next; a word without a pronunciation is one
    // or more garbage phones. Each boundary has a skip over the next sentence and a loop of
    // garbage; silence and fillers between words the decoder adds itself.
    Grammar grammar(std::span<const std::vector<QString>> block)
    {
        const float lw = float(cmd_ln_float32_r(ps_get_config(m_decoder.get()), "-lw"));
        logmath_t *math = ps_get_logmath(m_decoder.get());
        const auto cost = [&](double probability) {
            return int(logmath_log(math, probability) * lw);
        };
        int states = int(block.size()) + 1;
        for (const auto &sentence : block) {
            states += std::max(0, int(sentence.size()) - 1);
            for (const QString &word : sentence)
                states += pronunciation(word).known ? 0 : 1;
        }
        Grammar g(fsg_model_init("text", math, lw, states));
        g->start_state = 0;
        g->final_state = int(block.size());
        std::vector<int> gap, unsaid;
        for (const char *phone : basePhones) {
            const QByteArray name = QByteArray(phone).toLower();
            gap.push_back(fsg_model_word_add(g.get(), (gapPrefix + name).constData()));
            unsaid.push_back(fsg_model_word_add(g.get(), (unsaidPrefix + name).constData()));
        }
        const int gapCost = cost(gapPhoneProbability / double(gap.size()));
        const int unsaidCost = cost(1.0 / double(unsaid.size()));
        int next = int(block.size()) + 1;
        for (int i = 0; i < int(block.size()); ++i) {
            for (int wid : gap)
                fsg_model_trans_add(g.get(), i, i, gapCost, wid);
            const auto &sentence = block[std::size_t(i)];
            fsg_model_null_trans_add(g.get(), i, i + 1,
                                     sentence.empty() ? 0 : cost(skipProbability));
            int from = i;
            for (std::size_t w = 0; w < sentence.size(); ++w) {
                const int to = w + 1 == sentence.size() ? i + 1 : next++;
                if (pronunciation(sentence[w]).known) {
                    fsg_model_trans_add(
                        g.get(), from, to, 0,
                        fsg_model_word_add(g.get(), sentence[w].toUtf8().constData()));
                } else {
                    const int inside = next++;
                    for (int wid : unsaid) {
                        fsg_model_trans_add(g.get(), from, inside, unsaidCost, wid);
                        fsg_model_trans_add(g.get(), inside, inside, unsaidCost, wid);
                    }
                    fsg_model_null_trans_add(g.get(), inside, to, 0);
                }
                from = to;
            }
        }
        for (int wid : gap)
            fsg_model_trans_add(g.get(), g->final_state, g->final_state, gapCost, wid);
        glist_free(fsg_model_null_trans_closure(g.get(), nullptr));
        return g;
    }

    // The best path through the grammar over the sound, and whether it reached the grammar's
    // end; false when cancelled or when the grammar could not be used.
    bool decode(Grammar grammar, const Beams &b, std::span<const int16_t> sound,
                const std::atomic<bool> &cancel, const std::function<void(std::size_t)> &heard,
                std::vector<Segment> *path, bool *complete)
    {
        ps_decoder_t *d = m_decoder.get();
        // a search takes its beams from the configuration when it is made
        cmd_ln_t *config = ps_get_config(d);
        cmd_ln_set_float_r(config, "-beam", b.state);
        cmd_ln_set_float_r(config, "-pbeam", b.phone);
        cmd_ln_set_float_r(config, "-wbeam", b.word);
        // A search replaced by one of the same name is freed; the active one never is.
        m_window = !m_window;
        const char *name = m_window ? "odd" : "even";
        if (ps_set_fsg(d, name, grammar.get()) < 0 || ps_set_search(d, name) < 0)
            return false;
        if (!hear(sound, cancel, heard))
            return false;
        // The best path must end in the grammar's final state. When none does, say because
        // the beams lost the one that did, the best path to any state as the sound ends stands
        // in, so that the sentences it went through still count; the decoder gives that one
        // only while the utterance is open.
        std::optional<std::vector<Segment>> best = segments();
        ps_end_utt(d);
        std::optional<std::vector<Segment>> final = segments();
        *complete = final.has_value();
        *path = std::move(final).value_or(std::move(best).value_or(std::vector<Segment>{}));
        return true;
    }

private:
    // The words of the decoder's best path, in frames of its utterance; none when it has no
    // path.
    std::optional<std::vector<Segment>> segments()
    {
        // The decoder numbers frames on from its earlier utterances, but not by the frame
        // counts it reports for them; the path covers the whole utterance, so its first
        // segment starts at the utterance's first frame.
        ps_seg_t *seg = ps_seg_iter(m_decoder.get());
        if (!seg)
            return std::nullopt;
        std::vector<Segment> path;
        int origin = -1;
        for (; seg; seg = ps_seg_next(seg)) {
            Segment s;
            ps_seg_frames(seg, &s.first, &s.last);
            if (origin < 0)
                origin = s.first;
            QString word = QString::fromUtf8(ps_seg_word(seg));
            // fillers and silence; an alternative pronunciation is its word's
            if (word.startsWith(u'<') || word.startsWith(u'[') || word == u"(NULL)")
                continue;
            if (const qsizetype paren = word.indexOf(u'('); paren > 0)
                word.truncate(paren);
            s.first -= origin;
            s.last -= origin;
            s.word = word;
            path.push_back(s);
        }
        return path;
    }

    // One utterance over the sound, left open; false, and closed, when cancelled.
    bool hear(std::span<const int16_t> sound, const std::atomic<bool> &cancel,
              const std::function<void(std::size_t)> &heard)
    {
        ps_decoder_t *d = m_decoder.get();
        if (ps_start_utt(d) < 0)
            return false;
        for (std::size_t at = 0; at < sound.size(); at += samplesPerChunk) {
            if (cancel.load(std::memory_order_relaxed)) {
                ps_end_utt(d);
                return false;
            }
            const std::size_t n = std::min<std::size_t>(samplesPerChunk, sound.size() - at);
            ps_process_raw(d, sound.data() + at, n, FALSE, FALSE);
            heard(at + n);
        }
        return true;
    }

    std::unique_ptr<ps_decoder_t, FreeDecoder> m_decoder;
    QHash<QString, Pronunciation> m_pronunciations;
    bool m_window = false;
};

// What the best path says of each sentence of a block; the path starts at frame 0 of a window
// that starts at offset seconds. A sentence's words must all be on the path, in order, or the
// path went round it.
struct BlockReading
{
    std::vector<SentenceTimes> sentences;
    // the last frame of a placed word up to and including each sentence, -1 before any
    std::vector<int> lastFrames;
};

BlockReading readPath(std::span<const std::vector<QString>> block, const std::vector<Segment> &path,
                      double offset)
{
    BlockReading reading;
    int lastFrame = -1;
    const auto seconds = [offset](int frame) { return offset + double(frame) / framesPerSecond; };
    std::size_t p = 0;
    std::vector<int> gaps; // garbage frames before each sentence, and after the last
    for (const auto &sentence : block) {
        int gapBefore = 0;
        while (p < path.size() && hasPrefix(path[p].word, gapPrefix)) {
            gapBefore += path[p].last - path[p].first + 1;
            ++p;
        }
        gaps.push_back(gapBefore);
        SentenceTimes times;
        times.words.resize(sentence.size());
        std::size_t q = p;
        int unsaidFrames = 0;
        bool matched = !sentence.empty();
        for (std::size_t w = 0; matched && w < sentence.size(); ++w) {
            if (q < path.size() && path[q].word == sentence[w]) {
                times.words[w] = {seconds(path[q].first), seconds(path[q].last + 1)};
                ++q;
                continue;
            }
            const std::size_t first = q;
            while (q < path.size() && hasPrefix(path[q].word, unsaidPrefix)) {
                unsaidFrames += path[q].last - path[q].first + 1;
                ++q;
            }
            matched = q > first;
            if (matched)
                times.words[w] = {seconds(path[first].first), seconds(path[q - 1].last + 1)};
        }
        if (matched) {
            p = q;
            times.placement = Placement::Confident;
            lastFrame = path[q - 1].last;
            const double length = times.words.back().end - times.words.front().start;
            if (unsaidFrames > length * framesPerSecond / 3)
                times.placement = Placement::MuchGarbage;
        } else {
            times.words.assign(sentence.size(), WordTime{});
        }
        reading.lastFrames.push_back(lastFrame);
        reading.sentences.push_back(std::move(times));
    }
    int gapAfter = 0;
    for (; p < path.size(); ++p)
        gapAfter += path[p].last - path[p].first + 1;
    gaps.push_back(gapAfter);
    // Garbage next to a sentence that is longer than the sentence: the sound there is not
    // the text's, and the sentence's edges are in doubt.
    for (std::size_t i = 0; i < reading.sentences.size(); ++i) {
        SentenceTimes &times = reading.sentences[i];
        if (times.placement != Placement::Confident)
            continue;
        const double length = times.words.back().end - times.words.front().start;
        const int beside = std::max(gaps[i], gaps[i + 1]);
        if (beside > length * framesPerSecond)
            times.placement = Placement::MuchGarbage;
    }
    return reading;
}

} // namespace

QString modelFolder()
{
    const QString set = qEnvironmentVariable("VORLYN_SPEECH_MODEL");
    return set.isEmpty() ? QStringLiteral("/usr/share/pocketsphinx/model/en-us") : set;
}

Alignment alignWords(const std::vector<int16_t> &samples16kMono,
                     const std::vector<std::vector<QString>> &sentences,
                     const std::atomic<bool> &cancel, const std::function<void(double)> &progress)
{
    Alignment result;
    Recogniser recogniser;
    if (!recogniser.open(modelFolder())) {
        result.outcome = Outcome::NoModel;
        return result;
    }
    if (cancel.load(std::memory_order_relaxed)) {
        result.outcome = Outcome::Cancelled;
        return result;
    }
    result.sentences.resize(sentences.size());
    for (std::size_t i = 0; i < sentences.size(); ++i)
        result.sentences[i].words.resize(sentences[i].size());

    const std::span<const std::vector<QString>> text(sentences);
    const std::size_t total = samples16kMono.size();
    std::size_t next = 0;
    std::size_t start = 0;
    // blocks in a row of which nothing was heard in the sound's last window
    int unheardAtEnd = 0;
    double reported = 0;
    while (next < text.size() && start < total && unheardAtEnd < unheardBlocksAtEnd) {
        std::size_t last = next;
        double estimate = 0;
        while (last < text.size() && (last == next || estimate < blockSeconds)) {
            for (const QString &word : text[last])
                estimate += std::max(1, recogniser.pronunciation(word).phones) * secondsPerPhone;
            ++last;
        }
        const double windowSeconds =
            std::min(estimate * windowSlack + windowExtraSeconds, maxWindowSeconds);
        const std::size_t end =
            last == text.size() && total - start <= std::size_t(maxWindowSeconds * sampleRate)
                ? total
                : std::min(total, start + std::size_t(windowSeconds * sampleRate));
        const bool reachesEnd = end == total;
        const auto block = text.subspan(next, last - next);
        std::vector<Segment> path;
        bool complete = false;
        // a window heard again reports no progress until it passes what was reported
        const auto heard = [&](std::size_t samples) {
            const double share = double(start + samples) / double(total);
            if (progress && share > reported) {
                reported = share;
                progress(share);
            }
        };
        for (const Beams &b : {beams, wideBeams}) {
            if (!recogniser.decode(recogniser.grammar(block), b,
                                   std::span(samples16kMono).subspan(start, end - start), cancel,
                                   heard, &path, &complete)) {
                result.outcome = Outcome::Cancelled;
                result.sentences.clear();
                return result;
            }
            if (complete)
                break;
        }
        const BlockReading reading = readPath(block, path, double(start) / sampleRate);
        // The window's last sentence may run past its end: it starts the next block, unless
        // the text ends with it.
        std::size_t keep =
            last == text.size() ? block.size() : std::max<std::size_t>(1, block.size() - 1);
        // A path that stopped short of the block's end says nothing of the sentences after the
        // last one it placed: the next window looks for them again.
        if (!complete) {
            std::size_t placed = keep;
            while (placed > 0 && reading.sentences[placed - 1].placement == Placement::Skipped)
                --placed;
            keep = std::max<std::size_t>(placed, 1);
        }
        const int lastFrame = reading.lastFrames[keep - 1];
        if (lastFrame < 0 && !reachesEnd) {
            // Nothing of the block in this sound: look for it further on.
            start += (end - start) / 2;
            continue;
        }
        // a text far longer than its sound would be heard against the same last window over
        // and over: after a few blocks of nothing, the rest of the text is not in the sound
        unheardAtEnd = lastFrame < 0 ? unheardAtEnd + 1 : 0;
        for (std::size_t i = 0; i < keep; ++i)
            result.sentences[next + i] = reading.sentences[i];
        if (lastFrame >= 0)
            start += std::size_t(lastFrame + 1) * samplesPerFrame;
        next += keep;
    }
    return result;
}

} // namespace align
