// The player's context menu: the lesson, the view, the sentences and their sources, the
// checks, the drill, the review, and the program's own entries.
#include "player/vk.h"

#include "lesson/lessoncontroller.h"
#include "player/lessondialogs.h"
#include "player/recentlessons.h"
#include "player/reviewexport.h"
#include "player/reviewprompt.h"
#include "player/sentencedock.h"
#include "player/sentencelist.h"

#include <QContextMenuEvent>
#include <QMenu>

void Vk::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu;
    menu.addAction(openAction);
    menu.addMenu(recentMenu);
    menu.addSeparator();
    menu.addAction(fullScreenAction);
    menu.addSeparator();
    menu.addAction(keepAspectAction);
    menu.addSeparator();
    menu.addAction(sentenceDock->listAction());
    menu.addAction(sentenceDock->list()->showAllTextsAction());
    menu.addAction(tr("Keep These Marks for the Sentence"), lesson_,
                   &LessonController::keepMarksForSentence)
        ->setEnabled(lesson_->isOpen() && !lesson_->sentences().items.empty());
    LessonDialogs::addSubtitlesMenu(menu, *lesson_, *translation, this);
    const QList<QKeySequence> checkKeys = keys_.assigned(PlayerKeys::CheckTranscript);
    menu.addAction(tr("Check Whole Transcript") +
                       (checkKeys.isEmpty() ? QString()
                                            : QLatin1Char('\t') + checkKeys.first().toString(
                                                                      QKeySequence::NativeText)),
                   this, [this] { run(PlayerKeys::CheckTranscript); });
    menu.addSeparator();
    menu.addAction(drillAction);
    menu.addAction(drillSettingsAction);
    reviewPrompt->addToMenu(menu, keys_);
    menu.addAction(tr("Lesson Summary..."), this,
                   [this] { LessonDialogs::showSummary(*lesson_, this); })
        ->setEnabled(lesson_->isOpen());
    menu.addAction(tr("Progress..."), this, &Vk::progressRequested);
    menu.addAction(tr("Forget This Lesson..."), this,
                   [this] { LessonDialogs::forget(*lesson_, this); })
        ->setEnabled(lesson_->isOpen());
    menu.addAction(tr("Export Review Items..."), this,
                   [this] { ReviewExport::start(*lesson_->store(), dictionaryLanguage(), this); })
        ->setEnabled(lesson_->store() != nullptr);
    menu.addSeparator();
    menu.addAction(preferencesAction);
    menu.addAction(keyListAction);
    menu.addAction(helpAction);
    menu.addSeparator();
    menu.addAction(quitAction);
    menu.exec(event->globalPos());
}
