// The waveform strip's repaint: the strip, 1000 pixels wide, rendered into an image again
// and again from the peaks and sentences of a 60-minute lesson, zoomed by the wheel to a
// few spans; the median and slowest repaint in milliseconds per span.
#include "benchsupport.h"

#include "lesson/lessoncontroller.h"
#include "player/waveformstrip.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QWheelEvent>

#include <cmath>
#include <cstdint>

namespace {

// An hour of speech-like peaks around the strip's first view: bursts of sound of a few
// seconds between short quiet pauses, with sentences between the pauses.
lesson::SpeechAnalysis hourOfSpeech()
{
    constexpr double seconds = 3600;
    lesson::SpeechAnalysis a;
    a.peaks.start = -seconds / 2;
    a.peaks.perSecond = 100;
    const auto n = size_t(seconds * a.peaks.perSecond);
    a.peaks.low.resize(n);
    a.peaks.high.resize(n);
    uint32_t noise = 12345;
    for (size_t i = 0; i < n; ++i) {
        noise = noise * 1664525u + 1013904223u;
        const double t = double(i) / a.peaks.perSecond;
        const double phrase = std::fmod(t, 3.5);
        const double loud = phrase < 3.0 ? 0.3 + 0.6 * std::abs(std::sin(t * 7)) : 0.02;
        const auto v = int16_t(32000 * loud * double(noise >> 16) / 65536.0);
        a.peaks.high[i] = v;
        a.peaks.low[i] = int16_t(-v);
    }
    for (double t = a.peaks.start; t + 3.0 < seconds / 2; t += 3.5) {
        a.sentences.items.push_back({t, t + 3.0, {}});
        a.pauses.push_back({t + 3.0, t + 3.5});
    }
    a.sentences.source = lesson::SentenceSource::SpeechPauses;
    return a;
}

// Turns the wheel over the middle of the strip until it shows about span seconds.
void zoomTo(WaveformStrip &strip, double span)
{
    const double notches = std::log(span / strip.viewSpan()) / std::log(0.8);
    const QPointF middle(strip.width() / 2.0, strip.height() / 2.0);
    QWheelEvent wheel(middle, strip.mapToGlobal(middle), QPoint(),
                      QPoint(0, int(std::lround(notches * 120))), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&strip, &wheel);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    LessonController lesson;
    lesson.setAnalysis(hourOfSpeech());
    WaveformStrip strip(&lesson);
    strip.resize(1000, strip.height());
    QImage image(strip.size(), QImage::Format_ARGB32_Premultiplied);

    for (const double span : {1.0, 6.0, 60.0, 600.0}) {
        zoomTo(strip, span);
        std::vector<double> ms;
        for (int i = 0; i < 300; ++i) {
            QElapsedTimer timer;
            timer.start();
            strip.render(&image);
            ms.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        const bench::Summary s = bench::summarize(ms);
        const QString extra = QStringLiteral("\"span_s\": %1").arg(strip.viewSpan(), 0, 'f', 1);
        bench::print("waveform_repaint_median_ms", s.median, "ms", extra);
        bench::print("waveform_repaint_max_ms", s.max, "ms", extra);
    }
    return 0;
}
