#include "lesson/speechanalyser.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>

namespace lesson {

namespace {

// A report of a pass on its way from the pass's thread to the owner's.
class ReportEvent final : public QEvent
{
public:
    static const QEvent::Type kind;
    ReportEvent(unsigned run, std::function<void(SpeechAnalyser &)> delivery)
        : QEvent(kind), id(run), deliver(std::move(delivery))
    {}
    const unsigned id;
    const std::function<void(SpeechAnalyser &)> deliver;
};

const QEvent::Type ReportEvent::kind = QEvent::Type(QEvent::registerEventType());

} // namespace

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

void SpeechAnalyser::report(unsigned id, std::function<void(SpeechAnalyser &)> deliver)
{
    // `this` outlives the thread (the destructor joins it); an event still queued when
    // the object goes is discarded with it
    QCoreApplication::postEvent(this, new ReportEvent(id, std::move(deliver)));
}

void SpeechAnalyser::customEvent(QEvent *event)
{
    if (event->type() != ReportEvent::kind)
        return;
    const auto *report = static_cast<const ReportEvent *>(event);
    if (report->id == current)
        report->deliver(*this);
}

void SpeechAnalyser::run(const QString &mediaFile, unsigned id)
{
    if (std::optional<SpeechAnalysis> kept = cachedAnalysis(mediaFile)) {
        report(id, [analysis = std::move(*kept)](SpeechAnalyser &self) {
            emit self.finished(analysis);
        });
        return;
    }
    std::optional<SpeechAnalysis> found =
        analyseSpeech(mediaFile, cancelled, [this, id](double fraction) {
            report(id, [fraction](SpeechAnalyser &self) { emit self.progress(fraction); });
        });
    if (cancelled)
        return;
    if (!found) {
        const QString message =
            QCoreApplication::translate("lesson::Sentences",
                                        "Cannot find the sentences of %1: it has no sound "
                                        "this program can read.")
                .arg(QDir::toNativeSeparators(mediaFile));
        report(id, [message](SpeechAnalyser &self) { emit self.failed(message); });
        return;
    }
    storeAnalysis(mediaFile, *found);
    report(id,
           [analysis = std::move(*found)](SpeechAnalyser &self) { emit self.finished(analysis); });
}

} // namespace lesson
