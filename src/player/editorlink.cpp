#include "player/editorlink.h"

#include "editor/textedit.h"
#include "lesson/lessoncontroller.h"
#include "player/filekind.h"
#include "player/progresswindow.h"
#include "player/vk.h"

#include <QCoreApplication>
#include <QDate>
#include <QMessageBox>

#include <algorithm>

namespace {

// Where the editor was last, in the player's settings.
const QString editorPlaceKey = QStringLiteral("windows/editor");

} // namespace

EditorLink::EditorLink(Vk &player, TextEdit &editor, LessonController &lesson, QObject *parent)
    : QObject(parent), player_(player), editor_(editor), lesson_(lesson),
      editorPlace(editor, editorPlaceKey,
                  [this] { return editorPlaced ? editor_.geometry() : QRect(); })
{
    editor.resize(610, 400);
    if (const QRect place = placement::Keeper::remembered(editorPlaceKey); place.isValid()) {
        editor.setGeometry(place);
        editorPlaced = true;
    }
    connect(&player, &Vk::setDirPath, &editor, &TextEdit::fileSaveDefault);
    connect(&player, &Vk::filesDropped, this, &EditorLink::openFiles);
    connect(&editor, &TextEdit::filesDropped, this, &EditorLink::openFiles);
    connect(&editor, &TextEdit::keyDelegate, this, &EditorLink::keyDelegateTrigger);
    connect(&player, &Vk::editorToggleRequested, this, &EditorLink::toggleEditor);
    connect(&player, &Vk::sentenceCheckRequested, this, &EditorLink::checkSentence);
    connect(&player, &Vk::transcriptCheckRequested, this, &EditorLink::checkTranscript);
    connect(&player, &Vk::progressRequested, this, &EditorLink::showProgress);
    connect(&player, &Vk::keysChanged, this, &EditorLink::forwardPlayerKeys);
    connect(qApp, &QCoreApplication::aboutToQuit, &editor, &TextEdit::saveBeforeQuit);
    player.setEditorForwards([&editor](QKeyCombination key) { return editor.forwards(key); });
    forwardPlayerKeys();
}

void EditorLink::openFiles(const QStringList &files)
{
    const auto [media, document, problems] = sortOpenedFiles(files);
    // not modal: the files that can open, open meanwhile
    if (!problems.isEmpty())
        player_.showNotice(tr("Some files were not opened:") + QLatin1Char('\n') +
                               problems.join(QLatin1Char('\n')),
                           QMessageBox::Warning);
    // the document first, so a lesson opened with it finds it as the editor's document and
    // may start its transcript from it
    if (!document.isEmpty()) {
        showEditor();
        editor_.openDocument(document, media);
    }
    if (!media.isEmpty())
        lesson_.open(media);
}

void EditorLink::showEditor()
{
    if (!editorPlaced) {
        const placement::Pair pair = placement::besidePlayer(player_.geometry(), editor_.size(),
                                                             placement::availableFor(&player_));
        player_.setGeometry(pair.player);
        editor_.setGeometry(pair.editor);
        editorPlaced = true;
    }
    editor_.show();
}

void EditorLink::toggleEditor()
{
    if (editor_.isHidden())
        showEditor();
    else
        editor_.hide();
}

void EditorLink::keyDelegateTrigger(int key)
{
    // only what the editor hands over: a key it keeps for the text does nothing here
    const QKeyCombination combination = QKeyCombination::fromCombined(key);
    if (!editor_.forwards(combination))
        return;
    if (const std::optional<PlayerKeys::Command> command = player_.keys().commandOf(combination))
        player_.run(*command);
}

void EditorLink::checkSentence()
{
    if (!lesson_.isOpen())
        return;
    int index = lesson_.currentSentence();
    if (index < 0)
        index = lesson_.sentenceAt(lesson_.positionSeconds());
    const auto &items = lesson_.sentences().items;
    if (index < 0 || lesson::spokenText(items[size_t(index)]).isEmpty()) {
        QMessageBox::information(&player_, tr("Check"),
                                 tr("This sentence has no subtitle text to check against."));
        return;
    }
    const WordCheck check = editor_.checkAgainst(lesson::spokenText(items[size_t(index)]));
    lesson_.recordCheck(index, check.accuracy(), check.missedWords());
}

void EditorLink::checkTranscript()
{
    if (!lesson_.isOpen())
        return;
    const auto &items = lesson_.sentences().items;
    QStringList texts;
    for (const lesson::Sentence &sentence : items)
        texts.append(lesson::spokenText(sentence));
    if (std::all_of(texts.begin(), texts.end(), [](const QString &t) { return t.isEmpty(); })) {
        QMessageBox::information(&player_, tr("Check"),
                                 tr("This lesson's sentences have no text to check against."));
        return;
    }
    const QList<SentenceCheck> checks = editor_.checkWholeText(texts);
    struct Scored
    {
        int sentence;
        double accuracy;
    };
    std::vector<Scored> scored;
    for (int s = 0; s < checks.size(); ++s) {
        if (!checks[s].typed)
            continue;
        scored.push_back({s, checks[s].check.accuracy()});
        lesson_.recordCheck(s, scored.back().accuracy, checks[s].check.missedWords());
    }
    const QString title = tr("Whole Transcript Check");
    if (scored.empty()) {
        QMessageBox::information(&player_, title,
                                 tr("None of the lesson's sentences was found in the editor."));
        return;
    }
    double sum = 0;
    for (const Scored &s : scored)
        sum += s.accuracy;
    QString summary = tr("%n sentence(s) of %1 checked, mean accuracy %2%.", "", int(scored.size()))
                          .arg(items.size())
                          .arg(qRound(100 * sum / double(scored.size())));
    // the few weakest, below full marks
    constexpr size_t weakest = 5;
    std::stable_sort(scored.begin(), scored.end(),
                     [](const Scored &a, const Scored &b) { return a.accuracy < b.accuracy; });
    QStringList lines;
    for (size_t k = 0; k < std::min(weakest, scored.size()) && scored[k].accuracy < 1; ++k) {
        const lesson::Sentence &sentence = items[size_t(scored[k].sentence)];
        QString text = sentence.text;
        if (text.size() > 50)
            text = text.left(49) + QChar(0x2026);
        lines.append(tr("%1%  sentence %2 (%3): %4")
                         .arg(qRound(100 * scored[k].accuracy))
                         .arg(scored[k].sentence + 1)
                         .arg(lesson::clockText(sentence.start), text));
    }
    if (!lines.isEmpty())
        summary += QLatin1String("\n\n") + tr("Weakest:") + QLatin1Char('\n') +
                   lines.join(QLatin1Char('\n'));
    QMessageBox::information(&player_, title, summary);
}

void EditorLink::forwardPlayerKeys()
{
    QList<QKeyCombination> forwarded;
    for (int c = 0; c < PlayerKeys::commandCount; ++c) {
        if (PlayerKeys::reachableFromEditor(PlayerKeys::Command(c))) {
            for (const QKeySequence &key : player_.keys().assigned(PlayerKeys::Command(c)))
                forwarded += key[0];
        }
    }
    editor_.setPlayerKeys(forwarded);
}

void EditorLink::showProgress()
{
    if (!progress) {
        progress = new ProgressWindow(&player_);
        connect(progress, &ProgressWindow::wordChosen, &editor_, &TextEdit::lookUpWord);
        // after the check was kept, logged and (in a review) graded
        connect(&lesson_, &LessonController::checked, this, [this] {
            if (progress->isVisible())
                refreshProgress();
        });
    }
    refreshProgress();
    progress->show();
    progress->raise();
    progress->activateWindow();
}

void EditorLink::refreshProgress()
{
    // without a store nothing was kept: no checks, nothing due
    lesson::LearningProgress p;
    p.today = QDate::currentDate();
    if (lesson::LessonStore *store = lesson_.store())
        p = store->progress(p.today);
    progress->showProgress(p);
}
