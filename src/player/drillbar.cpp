#include "player/drillbar.h"

#include "lesson/drill.h"
#include "lesson/lessoncontroller.h"
#include "lesson/lessontranslation.h"
#include "lesson/reviewsession.h"
#include "lesson/translation.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int countdownMs = 100;

} // namespace

DrillBar::DrillBar(LessonController &lesson, lesson::LessonTranslation &translation,
                   QWidget *parent)
    : QWidget(parent), lesson_(lesson), drill_(lesson.drill()), translation_(translation),
      countdown(new QTimer(this)), wordFollow(new QTimer(this))
{
    setObjectName(QStringLiteral("drillBar"));
    // The player's own colours, light text on black, painted by the bar itself so that no
    // style or parent can leave the text on a background of its own colour. The word being
    // heard is white on the highlight's blue, 5.6:1.
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
    text->setTextFormat(Qt::RichText);
    // a word of the sentence is a link that plays the loop on from it
    text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse);
    text->setWordWrap(true);
    translationLine = new QLabel(this);
    translationLine->setObjectName(QStringLiteral("drillTranslation"));
    translationLine->setTextFormat(Qt::PlainText);
    translationLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    translationLine->setWordWrap(true);
    translationLine->hide();
    reviewLine = new QLabel(this);
    reviewLine->setObjectName(QStringLiteral("drillReview"));
    reviewLine->setTextFormat(Qt::PlainText);
    reviewLine->hide();
    auto *texts = new QVBoxLayout;
    texts->setContentsMargins(0, 0, 0, 0);
    texts->setSpacing(0);
    texts->addWidget(reviewLine);
    texts->addWidget(text);
    texts->addWidget(translationLine);
    line->addWidget(status, 0, Qt::AlignTop);
    line->addLayout(texts, 1);
    setVisible(drill_->isOn());

    countdown->setInterval(countdownMs);
    connect(countdown, &QTimer::timeout, this, &DrillBar::countDown);
    wordFollow->setInterval(wordFollowMs);
    wordFollow->setTimerType(Qt::PreciseTimer);
    connect(wordFollow, &QTimer::timeout, this, &DrillBar::followWord);
    connect(drill_, &lesson::Drill::onChanged, this, [this](bool on) {
        countdown->stop();
        status->clear();
        setVisible(on);
        sentenceChanged();
    });
    connect(drill_, &lesson::Drill::repetitionStarted, this, &DrillBar::showRepetition);
    connect(drill_, &lesson::Drill::pauseStarted, this, &DrillBar::showPause);
    connect(drill_, &lesson::Drill::sentenceFinished, this, [this] {
        countdown->stop();
        status->setText(tr("Done: Alt+A again, Alt+N next sentence"));
    });
    connect(drill_, &lesson::Drill::revealed, this, &DrillBar::followPlaying);
    connect(text, &QLabel::linkActivated, this, &DrillBar::playFromWord);
    connect(&lesson, &LessonController::playingChanged, this, &DrillBar::followPlaying);
    connect(&lesson, &LessonController::held, this, &DrillBar::followPlaying);
    connect(&lesson, &LessonController::sentencesChanged, this, &DrillBar::followPlaying);
    connect(&lesson, &LessonController::currentSentenceChanged, this, &DrillBar::sentenceChanged);
    connect(&lesson, &LessonController::scoresChanged, this, [this] {
        // a check of the current sentence shows its translation
        const int index = lesson_.currentSentence();
        const lesson::Scores &scores = lesson_.scores();
        if (index >= 0 && size_t(index) < scores.size() && scores[size_t(index)] &&
            scores[size_t(index)]->lastAt.toMSecsSinceEpoch() >= sentenceSinceMs) {
            translationWanted = true;
            showTranslation();
        }
    });
    connect(&translation, &lesson::LessonTranslation::changed, this, &DrillBar::showTranslation);

    lesson::ReviewSession *review = lesson.review();
    connect(review, &lesson::ReviewSession::sentenceShown, this,
            [this](const QString &, int, int left) {
                reviewLine->setText(
                    tr("Review, %n more due after this: write the sentence, then %1 checks it", "",
                       left)
                        .arg(checkKey));
                reviewLine->show();
            });
    connect(review, &lesson::ReviewSession::graded, this, [this](int items, int recalled) {
        reviewLine->setText(tr("Review: %1 of %n item(s) recalled; %2 goes on", "", items)
                                .arg(recalled)
                                .arg(nextKey));
    });
    connect(review, &lesson::ReviewSession::finished, reviewLine, &QLabel::hide);
}

void DrillBar::showReviewKeys(const QString &check, const QString &next)
{
    checkKey = check;
    nextKey = next;
}

QString DrillBar::reviewText() const
{
    return reviewLine->isHidden() ? QString() : reviewLine->text();
}

QString DrillBar::statusText() const
{
    return status->text();
}

QString DrillBar::revealedText() const
{
    return QTextDocumentFragment::fromHtml(text->text()).toPlainText();
}

QString DrillBar::translationText() const
{
    return translationLine->isHidden() ? QString() : translationLine->text();
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

const lesson::Sentence *DrillBar::sentenceWithWords() const
{
    const int index = lesson_.currentSentence();
    const std::vector<lesson::Sentence> &items = lesson_.sentences().items;
    if (index < 0 || size_t(index) >= items.size())
        return nullptr;
    const lesson::Sentence &s = items[size_t(index)];
    return !s.words.empty() && !s.text.isEmpty() && drill_->revealedText() == s.text ? &s : nullptr;
}

void DrillBar::followPlaying()
{
    const lesson::Sentence *s = sentenceWithWords();
    const bool playing = s && !lesson_.isStopped() && !lesson_.isHeld();
    if (!playing)
        wordFollow->stop();
    else if (!wordFollow->isActive())
        wordFollow->start();
    heardWord = playing ? lesson::wordAt(s->words, lesson_.positionSeconds()) : -1;
    showText();
}

void DrillBar::followWord()
{
    const lesson::Sentence *s = sentenceWithWords();
    if (!s || lesson_.isStopped() || lesson_.isHeld()) {
        followPlaying();
        return;
    }
    const int heard = lesson::wordAt(s->words, lesson_.positionSeconds());
    if (heard == heardWord)
        return;
    heardWord = heard;
    showText();
}

void DrillBar::showText()
{
    const lesson::Sentence *s = sentenceWithWords();
    if (!s) {
        text->setText(drill_->revealedText().toHtmlEscaped());
        return;
    }
    const QPalette &p = palette();
    const auto link = [&p](size_t index, bool heard) {
        const QString colours =
            heard ? QStringLiteral("color:%1; background-color:%2")
                        .arg(p.color(QPalette::HighlightedText).name(),
                             p.color(QPalette::Highlight).name())
                  : QStringLiteral("color:%1").arg(p.color(QPalette::Text).name());
        return QStringLiteral("<a href=\"%1\" style=\"%2; text-decoration:none\">")
            .arg(index)
            .arg(colours);
    };
    QString html;
    qsizetype at = 0;
    for (size_t i = 0; i < s->words.size(); ++i) {
        const lesson::TimedWord &w = s->words[i];
        // a word that does not lie in the text after the one before is shown as plain text
        if (w.from < at || w.length <= 0 || w.from + w.length > s->text.size())
            continue;
        html += s->text.mid(at, w.from - at).toHtmlEscaped() + link(i, int(i) == heardWord) +
                s->text.mid(w.from, w.length).toHtmlEscaped() + QStringLiteral("</a>");
        at = w.from + w.length;
    }
    text->setText(html + s->text.mid(at).toHtmlEscaped());
}

void DrillBar::playFromWord(const QString &link)
{
    const lesson::Sentence *s = sentenceWithWords();
    bool ok = false;
    const int index = link.toInt(&ok);
    if (!s || !ok || index < 0 || size_t(index) >= s->words.size())
        return;
    // within the loop; a held or playing lesson starts there afresh, as a stopped one does
    const double in = lesson_.markInSeconds();
    const double at =
        std::clamp(s->words[size_t(index)].start, in, std::max(in, lesson_.markOutSeconds()));
    lesson_.stopEngine();
    lesson_.startAt(at);
}

void DrillBar::toggleTranslation()
{
    translationWanted = !translationWanted;
    showTranslation();
}

void DrillBar::showTranslation()
{
    const QString shown = translationWanted && drill_->isOn()
                              ? translation_.of(lesson_.currentSentence())
                              : QString();
    translationLine->setText(shown);
    translationLine->setVisible(!shown.isEmpty());
}

void DrillBar::sentenceChanged()
{
    // another sentence's translation waits for its own check
    translationWanted = false;
    sentenceSinceMs = QDateTime::currentMSecsSinceEpoch();
    showTranslation();
    followPlaying();
}
