#include "player/drillbar.h"

#include "lesson/drill.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>

namespace {

constexpr int countdownMs = 100;

} // namespace

DrillBar::DrillBar(lesson::Drill *drill, QWidget *parent)
    : QWidget(parent), drill_(drill), countdown(new QTimer(this))
{
    setObjectName(QStringLiteral("drillBar"));
    // The player's own colours, light text on black, painted by the bar itself so that no
    // style or parent can leave the text on a background of its own colour.
    QPalette colours = palette();
    for (const QPalette::ColorRole role : {QPalette::Window, QPalette::Base})
        colours.setColor(role, Qt::black);
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text})
        colours.setColor(role, Qt::white);
    colours.setColor(QPalette::Highlight, QColor(0x44, 0x66, 0xaa));
    colours.setColor(QPalette::HighlightedText, Qt::white);
    setPalette(colours);
    setAutoFillBackground(true);
    // A window of its own: painted with the window, the line under the picture's native
    // window was left blank on screen once that window shrank to make room for it.
    setAttribute(Qt::WA_NativeWindow);
    // as tall as its text, never taller: the picture keeps the rest
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);

    auto *line = new QHBoxLayout(this);
    line->setContentsMargins(6, 2, 6, 2);
    status = new QLabel(this);
    status->setObjectName(QStringLiteral("drillStatus"));
    text = new QLabel(this);
    text->setObjectName(QStringLiteral("drillText"));
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text->setWordWrap(true);
    line->addWidget(status, 0, Qt::AlignTop);
    line->addWidget(text, 1, Qt::AlignTop);
    setVisible(drill->isOn());

    countdown->setInterval(countdownMs);
    connect(countdown, &QTimer::timeout, this, &DrillBar::countDown);
    connect(drill, &lesson::Drill::onChanged, this, [this](bool on) {
        countdown->stop();
        status->clear();
        setVisible(on);
    });
    connect(drill, &lesson::Drill::repetitionStarted, this, &DrillBar::showRepetition);
    connect(drill, &lesson::Drill::pauseStarted, this, &DrillBar::showPause);
    connect(drill, &lesson::Drill::sentenceFinished, this, [this] {
        countdown->stop();
        status->setText(tr("Done: Alt+A again, Alt+N next sentence"));
    });
    connect(drill, &lesson::Drill::revealed, text, &QLabel::setText);
}

QString DrillBar::statusText() const
{
    return status->text();
}

QString DrillBar::revealedText() const
{
    return text->text();
}

void DrillBar::showRepetition(int, int repetition, int total)
{
    countdown->stop();
    status->setText(total == lesson::DrillSettings::untilTold
                        ? tr("Repetition %1").arg(repetition)
                        : tr("Repetition %1 of %2").arg(repetition).arg(total));
}

void DrillBar::showPause(double seconds)
{
    if (seconds == lesson::DrillSettings::untilPlayKey) {
        countdown->stop();
        status->setText(tr("Type what you heard; the play key plays it again"));
        return;
    }
    countDown();
    countdown->start();
}

void DrillBar::countDown()
{
    const int left = drill_->pauseRemainingMs();
    if (left < 0) {
        countdown->stop();
        return;
    }
    status->setText(tr("Type what you heard: %1 s").arg(double(left) / 1000, 0, 'f', 1));
}

void DrillBar::showRevealKeys(const QString &hint, const QString &sentence)
{
    text->setToolTip(tr("%1: a hint, %2: the whole sentence").arg(hint, sentence));
}
