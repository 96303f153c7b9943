#include "player/sentencedock.h"

#include "lesson/lessoncontroller.h"
#include "player/sentencelist.h"

#include <QAction>
#include <QMainWindow>

SentenceDock::SentenceDock(LessonController &lesson, QMainWindow &window)
    : QDockWidget(tr("Sentences"), &window), lesson_(lesson), window_(window)
{
    setObjectName(QStringLiteral("sentenceDock"));
    // shown and hidden from the context menu, so it follows the lesson when it can
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    sentenceList = new SentenceList(&lesson);
    setWidget(sentenceList);
    window.addDockWidget(Qt::RightDockWidgetArea, this);
    hide();

    sentenceListAction = new QAction(tr("Sentence List"), this);
    sentenceListAction->setCheckable(true);
    sentenceListAction->setChecked(true);
    sentenceListAction->setEnabled(false);
    connect(sentenceListAction, &QAction::toggled, this, &SentenceDock::follow);
    connect(&lesson, &LessonController::sentencesChanged, this, &SentenceDock::follow);
    connect(&lesson, &LessonController::analysisProgress, this, &SentenceDock::follow);
}

void SentenceDock::follow()
{
    const bool any = !lesson_.sentences().items.empty() || lesson_.isAnalysing();
    sentenceListAction->setEnabled(any);
    const bool show = any && sentenceListAction->isChecked();
    if (show != isHidden())
        return;
    const bool docked = !isFloating() && !window_.isMaximized() && !window_.isFullScreen();
    if (show) {
        this->show();
        widthForSentences = docked ? sentenceListWidth : 0;
        window_.resize(window_.width() + widthForSentences, window_.height());
        if (docked)
            window_.resizeDocks({this}, {sentenceListWidth}, Qt::Horizontal);
    } else {
        hide();
        if (docked)
            window_.resize(window_.width() - widthForSentences, window_.height());
        widthForSentences = 0;
    }
}
