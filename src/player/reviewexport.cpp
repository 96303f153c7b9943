#include "player/reviewexport.h"

#include "cards/wordnotes.h"
#include "lesson/lessonstore.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QScopedValueRollback>

namespace {

QString title()
{
    return ReviewExport::tr("Export Review Items");
}

// the folder the last deck was written to
QDir &lastDeckFolder()
{
    static QDir dir = QDir::home();
    return dir;
}

} // namespace

void ReviewExport::start(lesson::LessonStore &store, const QString &dictionaryLanguage,
                         QWidget *parent)
{
    std::vector<lesson::ReviewItem> items = store.reviewItems();
    if (items.empty()) {
        QMessageBox::information(parent, title(),
                                 tr("There are no review items yet: a check that finds "
                                    "mistakes keeps what was missed for review."));
        return;
    }
    QFileDialog dialog(parent, title(),
                       lastDeckFolder().filePath(QStringLiteral("vorlyn-review.txt")),
                       tr("Flashcards as Tab-Separated Text (*.txt)"));
    // the dialog asks before a deck of that name is replaced
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString deckFile = dialog.selectedFiles().constFirst();
    lastDeckFolder() = QFileInfo(deckFile).absoluteDir();
    cards::WordNotes notes = cards::lookUpWords(items);
    new ReviewExport(parent, std::move(items), std::move(notes),
                     speech::voiceOfDictionary(dictionaryLanguage), deckFile);
}

ReviewExport::ReviewExport(QWidget *parent, std::vector<lesson::ReviewItem> items,
                           cards::WordNotes notes, speech::Voice voice, QString file)
    : QObject(parent), deckFile(std::move(file)), window(parent),
      progress(tr("Cutting the sound clips of the flashcards..."), tr("Cancel"), 0,
               int(items.size()), parent)
{
    progress.setWindowTitle(title());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    connect(&progress, &QProgressDialog::canceled, this, [this] { cancel = true; });
    connect(&poller, &QTimer::timeout, this, &ReviewExport::poll);
    poller.start(100);
    progress.show();
    worker = std::thread([this, items = std::move(items), notes = std::move(notes), voice] {
        result = cards::DeckExport::write(deckFile, items, notes, voice, cancel,
                                          [this](int n) { done = n; });
        over.store(true, std::memory_order_release);
    });
}

ReviewExport::~ReviewExport()
{
    cancel = true;
    if (worker.joinable())
        worker.join();
}

void ReviewExport::poll()
{
    if (polling)
        return;
    const QScopedValueRollback<bool> guard(polling, true);
    if (!over.load(std::memory_order_acquire)) {
        progress.setValue(done);
        return;
    }
    poller.stop();
    worker.join();
    progress.hide();
    QString text;
    const QString leftOut =
        tr("%n review item(s) were left out: their lesson file is missing, has changed since "
           "the check, or has no sound.",
           "", result.leftOut);
    switch (result.outcome) {
    case cards::DeckResult::Outcome::Written:
        text = tr("Wrote %n flashcard(s) to %1, their sound clips beside it.", "", result.cards)
                   .arg(QDir::toNativeSeparators(deckFile));
        break;
    case cards::DeckResult::Outcome::Failed:
        text = tr("The flashcards were not written. %1").arg(result.why);
        break;
    case cards::DeckResult::Outcome::Cancelled:
        deleteLater();
        return;
    }
    if (result.leftOut > 0)
        text += QLatin1Char('\n') + leftOut;
    auto *box = new QMessageBox(result.outcome == cards::DeckResult::Outcome::Written
                                    ? QMessageBox::Information
                                    : QMessageBox::Warning,
                                title(), text, QMessageBox::Ok, window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    deleteLater();
}
