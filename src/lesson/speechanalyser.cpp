#include "lesson/speechanalyser.h"

#include <QCoreApplication>
#include <QDir>

namespace lesson {

SpeechAnalyser::SpeechAnalyser(QObject *parent) : QObject(parent) {}

SpeechAnalyser::~SpeechAnalyser()
{
    cancel();
}

void SpeechAnalyser::start(const QString &mediaFile)
{
    cancel();
    worker = std::thread([this, mediaFile, id = current] { run(mediaFile, id); });
}

void SpeechAnalyser::cancel()
{
    // reports of the run given up, already posted or not, are dropped by their number
    ++current;
    if (!worker.joinable())
        return;
    cancelled = true;
    worker.join();
    cancelled = false;
}

template <typename F> void SpeechAnalyser::report(unsigned id, F f)
{
    // `this` outlives the thread (the destructor joins it); an event still queued when
    // the object goes is discarded with it
    QMetaObject::invokeMethod(
        this,
        [this, id, f = std::move(f)] {
            if (id == current)
                f();
        },
        Qt::QueuedConnection);
}

void SpeechAnalyser::run(const QString &mediaFile, unsigned id)
{
    if (std::optional<SpeechAnalysis> kept = cachedAnalysis(mediaFile)) {
        report(id, [this, analysis = std::move(*kept)] { emit finished(analysis); });
        return;
    }
    std::optional<SpeechAnalysis> found =
        analyseSpeech(mediaFile, cancelled, [this, id](double fraction) {
            report(id, [this, fraction] { emit progress(fraction); });
        });
    if (cancelled)
        return;
    if (!found) {
        const QString message =
            QCoreApplication::translate("lesson::Sentences",
                                        "Cannot find the sentences of %1: it has no sound "
                                        "this program can read.")
                .arg(QDir::toNativeSeparators(mediaFile));
        report(id, [this, message] { emit failed(message); });
        return;
    }
    storeAnalysis(mediaFile, *found);
    report(id, [this, analysis = std::move(*found)] { emit finished(analysis); });
}

} // namespace lesson
