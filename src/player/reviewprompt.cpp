#include "player/reviewprompt.h"

#include "lesson/drill.h"
#include "lesson/lessoncontroller.h"
#include "lesson/reviewsession.h"
#include "player/playerkeys.h"

#include <QDate>
#include <QDir>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>

ReviewPrompt::ReviewPrompt(LessonController &lesson, QWidget &window)
    : QObject(&window), lesson_(lesson), window_(window)
{
    lesson::ReviewSession *review = lesson_.review();
    connect(review, &lesson::ReviewSession::finished, this,
            [this](const lesson::ReviewSummary &summary) { tell(summaryText(summary)); });
    connect(review, &lesson::ReviewSession::notice, this, &ReviewPrompt::tell);
}

void ReviewPrompt::addToMenu(QMenu &menu, const PlayerKeys &keys)
{
    const QList<QKeySequence> assigned = keys.assigned(PlayerKeys::Review);
    const QString shortcut =
        assigned.isEmpty()
            ? QString()
            : QLatin1Char('\t') + assigned.first().toString(QKeySequence::NativeText);
    if (lesson_.review()->isOn()) {
        menu.addAction(tr("End Review") + shortcut, this, &ReviewPrompt::toggle);
        return;
    }
    lesson::LessonStore *store = lesson_.store();
    const int due = store ? store->dueCount(QDate::currentDate()) : 0;
    menu.addAction(tr("Review (%n due)...", "", due) + shortcut, this, &ReviewPrompt::toggle)
        ->setEnabled(store != nullptr);
}

void ReviewPrompt::toggle()
{
    lesson::ReviewSession *review = lesson_.review();
    if (review->isOn())
        review->stop();
    else
        review->start(QDate::currentDate());
}

void ReviewPrompt::next()
{
    if (lesson_.review()->isOn())
        lesson_.review()->next();
    else
        lesson_.drill()->next();
}

QString ReviewPrompt::summaryText(const lesson::ReviewSummary &summary)
{
    QStringList lines;
    if (summary.reviewed == 0)
        lines << tr("Nothing was reviewed.");
    else
        lines << tr("%n item(s) reviewed, %1 recalled on the first try.", "", summary.reviewed)
                     .arg(summary.recalled);
    if (!summary.missingLessons.isEmpty()) {
        lines << tr("Passed over, their items still due: lessons that cannot be found:");
        for (const QString &file : summary.missingLessons)
            lines << QStringLiteral("  ") + QDir::toNativeSeparators(file);
    }
    if (summary.sentencesNotFound > 0)
        lines << tr("Passed over, their items still due: %n sentence(s) no longer in their "
                    "lesson.",
                    "", summary.sentencesNotFound);
    if (summary.nextDue)
        lines << tr("Next due: %1.").arg(QLocale().toString(*summary.nextDue, QLocale::LongFormat));
    else
        lines << tr("Nothing is waiting for review.");
    return lines.join(QLatin1Char('\n'));
}

void ReviewPrompt::tell(const QString &message)
{
    // told, not asked: the session goes on behind it
    auto *box =
        new QMessageBox(QMessageBox::Information, tr("Review"), message, QMessageBox::Ok, &window_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
