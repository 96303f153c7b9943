#pragma once

#include <QWidget>

#include <cstdint>
#include <vector>

class LessonController;

// The strip under the seek slider that draws the lesson's sound around the loop: the
// min/max peaks, the loop's marks as handles the learner drags, the sentence boundaries as
// ticks and the playhead. Keeps the peaks halved level by level, so a repaint reads a
// couple of values per pixel at any zoom. Draws what its LessonController reports and
// places a dragged mark through it. GUI thread only.
class WaveformStrip final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WaveformStrip)

public:
    // How much of the lesson the strip shows beside the loop, each side.
    static constexpr double marginSeconds = 3.0;
    // The shortest and longest stretch the wheel zooms to.
    static constexpr double minSpanSeconds = 1.0;
    static constexpr double maxSpanSeconds = 600.0;
    // How near a handle, in pixels, a press grabs it.
    static constexpr int grabPixels = 6;

    explicit WaveformStrip(LessonController *lesson, QWidget *parent = nullptr);
    // Names the key that loops the sentence under the playhead in the strip's tooltip.
    void showLoopKey(const QString &key);

    // The stretch of the lesson shown, in seconds.
    double viewStart() const { return viewStart_; }
    double viewSpan() const { return viewSpan_; }
    // The x of a time in the strip, and the time at an x.
    double xAt(double seconds) const;
    double secondsAt(double x) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    enum class Handle
    {
        None,
        In,
        Out,
    };

    void takePeaks();
    void followMarks(double inSeconds, double outSeconds);
    void followPosition(double seconds);
    // Shows the loop with the margins, at the learner's zoom.
    void frameLoop();
    void drawPeaks(QPainter &painter) const;
    double shownMark(Handle h) const;

    LessonController *lesson_; // not owned; outlives the strip
    // levels[0] are the lesson's peaks; each further level halves the one before it.
    struct Level
    {
        std::vector<int16_t> low;
        std::vector<int16_t> high;
    };
    std::vector<Level> levels;
    double peaksStart = 0;
    int perSecond = 100;

    double viewStart_ = 0;
    double viewSpan_ = 2 * marginSeconds;
    // the wheel's zoom: the shown span over the loop's own with its margins
    double zoom = 1.0;
    double markIn = 0;
    double markOut = 0;
    double position = 0;
    Handle dragged = Handle::None;
    double dragSeconds = 0;
};
