#pragma once

#include "lesson/sentences.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <thread>

namespace lesson {

// Finds a lesson's sentences at its speech pauses without holding up the GUI: the kept
// analysis when the cache has one for the file as it is, else a pass of analyseSpeech,
// then kept; and, given a lesson text, places its sentences in the sound the same way. The pass
// runs on a thread of its own (never the engine's); the object, its signals and the run number live
// in the owner's thread, which alone calls its methods.
class SpeechAnalyser final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SpeechAnalyser)

public:
    explicit SpeechAnalyser(QObject *parent = nullptr);
    // cancels a pass under way and waits for its thread
    ~SpeechAnalyser() override;

    // Starts on mediaFile, giving up any earlier pass; the result comes by signal, never
    // from inside this call. With a lesson text, its sentences are placed in the sound after
    // the pass, at a lower priority, from the same decoding (or taken from the cache).
    void start(const QString &mediaFile, const QString &textOrigin = {}, const QString &text = {});
    // Gives up the pass under way; nothing more is reported of it.
    void cancel();

signals:
    void progress(double fraction);
    void finished(const lesson::SpeechAnalysis &analysis);
    void failed(const QString &message);
    // The lesson text's sentences: how far their placing is, 0 to 1, then the result.
    void textProgress(double fraction);
    void textAligned(const lesson::Sentences &sentences);
    void textFailed(const QString &message);

protected:
    // Delivers a report of the pass in the owner's thread.
    void customEvent(QEvent *event) override;

private:
    void run(const QString &mediaFile, const QString &textOrigin, const QString &text, unsigned id);
    // Places the lesson text in sound heard by the pass; run's second half.
    void alignText(const QString &mediaFile, const QString &textOrigin, const QString &text,
                   const LessonSound &sound, const std::vector<Pause> &pauses, unsigned id);
    // Hands a report of run id to the owner's thread as an event, which that thread alone
    // reads and deletes; it is dropped there if run id was given up meanwhile.
    void report(unsigned id, std::function<void(SpeechAnalyser &)> deliver);

    // written by the owner's thread, polled by the pass
    std::atomic<bool> cancelled{false};
    // the run whose reports are delivered; owner's thread only
    unsigned current = 0;
    // the pass's thread; started and joined by the owner's thread
    std::thread worker;
};

} // namespace lesson
