#include "player/waveformstrip.h"

#include "lesson/lessoncontroller.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QColor backgroundColor(12, 22, 30);
const QColor loopColor(19, 126, 182, 70);
const QColor peakColor(118, 169, 196);
const QColor tickColor(230, 230, 230, 150);
const QColor markInColor(96, 208, 120);
const QColor markOutColor(240, 150, 60);
const QColor playheadColor(255, 255, 255);
// Each wheel notch shows this much of what was shown.
constexpr double zoomPerNotch = 0.8;

} // namespace

WaveformStrip::WaveformStrip(LessonController *lesson, QWidget *parent)
    : QWidget(parent), lesson_(lesson)
{
    setFixedHeight(40);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(lesson, &LessonController::waveformChanged, this, &WaveformStrip::takePeaks);
    connect(lesson, &LessonController::sentencesChanged, this, qOverload<>(&QWidget::update));
    connect(lesson, &LessonController::marksChanged, this, &WaveformStrip::followMarks);
    connect(lesson, &LessonController::positionChanged, this, &WaveformStrip::followPosition);
    takePeaks();
}

double WaveformStrip::xAt(double seconds) const
{
    return (seconds - viewStart_) / viewSpan_ * width();
}

double WaveformStrip::secondsAt(double x) const
{
    return viewStart_ + x / std::max(1, width()) * viewSpan_;
}

void WaveformStrip::takePeaks()
{
    const lesson::Peaks &peaks = lesson_->peaks();
    levels.clear();
    peaksStart = peaks.start;
    perSecond = std::max(1, peaks.perSecond);
    levels.push_back({peaks.low, peaks.high});
    // Halving until a level fits a pixel column of the widest view keeps a repaint at a
    // couple of reads per column however far out the view is.
    while (levels.back().low.size() > 1) {
        const Level &from = levels.back();
        Level half;
        const size_t n = (from.low.size() + 1) / 2;
        half.low.resize(n);
        half.high.resize(n);
        for (size_t i = 0; i < n; ++i) {
            const size_t j = std::min(2 * i + 1, from.low.size() - 1);
            half.low[i] = std::min(from.low[2 * i], from.low[j]);
            half.high[i] = std::max(from.high[2 * i], from.high[j]);
        }
        levels.push_back(std::move(half));
    }
    // the marks as they are now: the engine reports them only when they move
    markIn = lesson_->markInSeconds();
    markOut = lesson_->markOutSeconds();
    position = lesson_->positionSeconds();
    frameLoop();
}

void WaveformStrip::followMarks(double inSeconds, double outSeconds)
{
    markIn = inSeconds;
    markOut = outSeconds;
    frameLoop();
}

void WaveformStrip::followPosition(double seconds)
{
    const double before = position;
    position = seconds;
    const double lo = std::min(before, seconds);
    const double hi = std::max(before, seconds);
    if (hi >= viewStart_ && lo <= viewStart_ + viewSpan_)
        update();
}

void WaveformStrip::frameLoop()
{
    // a loop end the learner never set on a file of unknown length lies nowhere
    const double out = std::isfinite(markOut) ? std::max(markOut, markIn) : markIn;
    const double span =
        std::clamp((out - markIn + 2 * marginSeconds) * zoom, minSpanSeconds, maxSpanSeconds);
    viewSpan_ = span;
    viewStart_ = (markIn + out) / 2 - span / 2;
    update();
}

double WaveformStrip::shownMark(Handle h) const
{
    if (dragged == h)
        return dragSeconds;
    return h == Handle::In ? markIn : markOut;
}

void WaveformStrip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), backgroundColor);
    const double in = shownMark(Handle::In);
    const double out = shownMark(Handle::Out);
    const double outX = std::isfinite(out) ? xAt(out) : width();
    painter.fillRect(QRectF(xAt(in), 0, outX - xAt(in), height()), loopColor);

    drawPeaks(painter);

    // sentence boundaries: a tick at the foot of the strip for each start and end in view
    painter.setPen(tickColor);
    const double first = viewStart_;
    const double last = viewStart_ + viewSpan_;
    const int tick = height() / 4;
    for (const lesson::Sentence &s : lesson_->sentences().items) {
        if (s.end < first || s.start > last)
            continue;
        for (const double t : {s.start, s.end}) {
            const int x = int(std::lround(xAt(t)));
            painter.drawLine(x, height() - tick, x, height() - 1);
        }
    }

    const int playheadX = int(std::lround(xAt(position)));
    painter.setPen(playheadColor);
    painter.drawLine(playheadX, 0, playheadX, height() - 1);

    // the marks as handles over the rest: a line with a grip at the top, pointing into the
    // loop
    const auto handle = [&](double t, const QColor &color, int towards) {
        if (!std::isfinite(t))
            return;
        const int x = int(std::lround(xAt(t)));
        painter.setPen(color);
        painter.drawLine(x, 0, x, height() - 1);
        painter.fillRect(towards > 0 ? QRect(x, 0, grabPixels, 8)
                                     : QRect(x - grabPixels + 1, 0, grabPixels, 8),
                         color);
    };
    handle(in, markInColor, 1);
    handle(out, markOutColor, -1);
}

void WaveformStrip::drawPeaks(QPainter &painter) const
{
    if (levels.empty() || levels.front().low.empty() || width() <= 0)
        return;
    const int w = width();
    // the level read has fewer than two values per column
    double perColumn = viewSpan_ * perSecond / w;
    size_t level = 0;
    while (level + 1 < levels.size() && perColumn >= 2.0) {
        perColumn /= 2;
        ++level;
    }
    const Level &peaks = levels[level];
    const double rate = double(perSecond) / double(size_t(1) << level);
    const auto count = std::ptrdiff_t(peaks.low.size());
    const double mid = height() / 2.0;
    const double scale = (height() / 2.0 - 1) / 32768.0;

    std::vector<QLineF> lines;
    lines.reserve(size_t(w));
    for (int x = 0; x < w; ++x) {
        const double from = (secondsAt(x) - peaksStart) * rate;
        const double to = (secondsAt(x + 1) - peaksStart) * rate;
        const auto i0 = std::max<std::ptrdiff_t>(0, std::ptrdiff_t(std::floor(from)));
        const auto i1 = std::min(count, std::max(i0 + 1, std::ptrdiff_t(std::ceil(to))));
        if (i0 >= i1)
            continue;
        int16_t lo = std::numeric_limits<int16_t>::max();
        int16_t hi = std::numeric_limits<int16_t>::min();
        for (std::ptrdiff_t i = i0; i < i1; ++i) {
            lo = std::min(lo, peaks.low[size_t(i)]);
            hi = std::max(hi, peaks.high[size_t(i)]);
        }
        lines.emplace_back(x + 0.5, mid - hi * scale, x + 0.5, mid - lo * scale + 1);
    }
    painter.setPen(peakColor);
    painter.drawLines(lines.data(), int(lines.size()));
}

void WaveformStrip::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !lesson_->isOpen())
        return;
    const double x = event->position().x();
    const double toIn = std::abs(x - xAt(markIn));
    const double toOut = std::isfinite(markOut) ? std::abs(x - xAt(markOut))
                                                : std::numeric_limits<double>::infinity();
    if (std::min(toIn, toOut) > grabPixels)
        return;
    // marks on one pixel: the one on the side pressed, so a loop can be widened
    if (toIn < toOut || (toIn == toOut && x < xAt(markIn)))
        dragged = Handle::In;
    else
        dragged = Handle::Out;
    dragSeconds = dragged == Handle::In ? markIn : markOut;
}

void WaveformStrip::mouseMoveEvent(QMouseEvent *event)
{
    if (dragged == Handle::None)
        return;
    const double t = secondsAt(event->position().x());
    // a handle is not drawn past the other one; the engine would not put it there
    dragSeconds = dragged == Handle::In ? std::min(t, markOut) : std::max(t, markIn);
    update();
}

void WaveformStrip::mouseReleaseEvent(QMouseEvent *event)
{
    if (dragged == Handle::None || event->button() != Qt::LeftButton)
        return;
    mouseMoveEvent(event);
    const bool in = dragged == Handle::In;
    dragged = Handle::None;
    lesson_->setMarkAt(in, dragSeconds);
    update();
}

void WaveformStrip::wheelEvent(QWheelEvent *event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0)
        return;
    const double x = event->position().x();
    const double pointer = secondsAt(x);
    const double span =
        std::clamp(viewSpan_ * std::pow(zoomPerNotch, notches), minSpanSeconds, maxSpanSeconds);
    // the time under the pointer stays under it
    viewStart_ = pointer - x / std::max(1, width()) * span;
    zoom *= span / viewSpan_;
    viewSpan_ = span;
    update();
    event->accept();
}

void WaveformStrip::showLoopKey(const QString &key)
{
    setToolTip(tr("Drag a loop mark to move it, turn the wheel to zoom; %1 loops the "
                  "sentence under the playhead")
                   .arg(key));
}
