#include "lesson/speechanalyser.h"

#include "lesson/textalignment.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>

#include <chrono>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

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

void SpeechAnalyser::start(const QString &mediaFile, const QString &textOrigin, const QString &text)
{
    cancel();
    worker = std::thread([this, mediaFile, textOrigin, text, id = current] {
        run(mediaFile, textOrigin, text, id);
    });
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

void SpeechAnalyser::run(const QString &mediaFile, const QString &textOrigin, const QString &text,
                         unsigned id)
{
    std::optional<Sentences> keptText;
    if (!text.isEmpty())
        keptText = cachedTextAlignment(mediaFile, text);
    // the sound is kept from the pass only for a text that is still to be placed
    const bool wantSound = !text.isEmpty() && !keptText;
    LessonSound sound;
    std::optional<SpeechAnalysis> analysis = cachedAnalysis(mediaFile);
    if (!analysis || wantSound) {
        std::optional<SpeechAnalysis> found = analyseSpeech(
            mediaFile, cancelled,
            [this, id](double fraction) {
                report(id, [fraction](SpeechAnalyser &self) { emit self.progress(fraction); });
            },
            wantSound ? &sound : nullptr);
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
        if (!analysis) {
            storeAnalysis(mediaFile, *found);
            analysis = std::move(found);
        }
    }
    report(id, [kept = *analysis](SpeechAnalyser &self) { emit self.finished(kept); });
    if (keptText) {
        keptText->origin = textOrigin;
        report(id, [aligned = std::move(*keptText)](SpeechAnalyser &self) {
            emit self.textAligned(aligned);
        });
    } else if (wantSound) {
        alignText(mediaFile, textOrigin, text, sound, analysis->pauses, id);
    }
}

void SpeechAnalyser::alignText(const QString &mediaFile, const QString &textOrigin,
                               const QString &text, const LessonSound &sound,
                               const std::vector<Pause> &pauses, unsigned id)
{
    // playback and the window come first: this thread yields to them from now on
    setpriority(PRIO_PROCESS, pid_t(syscall(SYS_gettid)), 10);
    QString why;
    std::optional<Sentences> aligned = alignLessonText(
        text, textOrigin, sound, pauses, cancelled,
        [this, id, last = std::chrono::steady_clock::time_point()](double fraction) mutable {
            // the aligner tells every tenth of a second of sound; the window needs far less
            const auto now = std::chrono::steady_clock::now();
            if (now - last < std::chrono::milliseconds(100))
                return;
            last = now;
            report(id, [fraction](SpeechAnalyser &self) { emit self.textProgress(fraction); });
        },
        &why);
    if (cancelled)
        return;
    if (!aligned) {
        report(id, [why](SpeechAnalyser &self) { emit self.textFailed(why); });
        return;
    }
    storeTextAlignment(mediaFile, text, *aligned);
    report(id,
           [result = std::move(*aligned)](SpeechAnalyser &self) { emit self.textAligned(result); });
}

} // namespace lesson
