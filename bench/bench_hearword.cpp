// Hearing a word: how long the synthesizer takes over one (its first word, which loads its
// data, and later ones), how soon after the request the word's first samples are on the
// sound output, and how long after its end the output reports it heard, on the sound server
// (headless: PulseAudio's null sink) and on the null output.
#include "benchsupport.h"
#include "speech/synthesizer.h"
#include "speech/wordspeaker.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <algorithm>

namespace {

constexpr int rounds = 10;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Says each word once, waiting for its end: the time to the first word's first samples on the
// output, the median of that time, and the median time from a word's end to finished().
void sayWords(const char *output)
{
    speech::WordSpeaker speaker;
    std::vector<double> toFirstSample, afterTheEnd;
    for (int i = 0; i < rounds; ++i) {
        const QString word = i % 2 ? QStringLiteral("example") : QStringLiteral("water");
        const speech::SpokenWord spoken = speech::synthesizeWord(word, speech::Voice::American);
        const double wordMs = 1000.0 * double(spoken.samples.size()) / spoken.sampleRate;
        QEventLoop loop;
        QObject::connect(&speaker, &speech::WordSpeaker::finished, &loop, &QEventLoop::quit);
        QElapsedTimer clock;
        clock.start();
        const QString why = speaker.speak(word, speech::Voice::American);
        if (!why.isEmpty()) {
            qWarning("%s", qPrintable(why));
            return;
        }
        toFirstSample.push_back(double(clock.nsecsElapsed()) / 1e6);
        loop.exec();
        afterTheEnd.push_back(double(clock.nsecsElapsed()) / 1e6 - wordMs);
    }
    const QString extra = QStringLiteral("\"output\": \"%1\"").arg(QLatin1String(output));
    // the first word connects to the server too
    bench::print("hearword_first_request_to_first_sample", toFirstSample.front(), "ms", extra);
    bench::print("hearword_request_to_first_sample", median(toFirstSample), "ms", extra);
    bench::print("hearword_end_to_finished", median(afterTheEnd), "ms", extra);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QElapsedTimer clock;
    clock.start();
    speech::synthesizeWord(QStringLiteral("example"), speech::Voice::British);
    bench::print("hearword_first_synthesis", double(clock.nsecsElapsed()) / 1e6, "ms");
    std::vector<double> later;
    for (int i = 0; i < rounds; ++i) {
        clock.restart();
        speech::synthesizeWord(QStringLiteral("pronunciation"), speech::Voice::British);
        later.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    bench::print("hearword_synthesis", median(later), "ms");
    sayWords(qEnvironmentVariable("VORLYN_SOUND") == QLatin1String("null") ? "null" : "server");
    return 0;
}
