#include "spelling/spellcheckdialog.h"

#include "spelling/spellingengine.h"

#include "ui_spellcheckdialog.h"

SpellCheckDialog::SpellCheckDialog(SpellingEngine *engine_, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::SpellCheckDialog>()), engine(engine_)
{
    ui->setupUi(this);

    connect(ui->listWidget, &QListWidget::currentTextChanged, ui->ledtReplaceWith,
            &QLineEdit::setText);
    connect(ui->btnAddToDict, &QPushButton::clicked, this, &SpellCheckDialog::addToDict);
    connect(ui->btnReplaceOnce, &QPushButton::clicked, this, &SpellCheckDialog::replaceOnce);
    connect(ui->btnReplaceAll, &QPushButton::clicked, this, &SpellCheckDialog::replaceAll);
    connect(ui->btnIgnoreOnce, &QPushButton::clicked, this, &SpellCheckDialog::ignoreOnce);
    connect(ui->btnIgnoreAll, &QPushButton::clicked, this, &SpellCheckDialog::ignoreAll);
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

SpellCheckDialog::~SpellCheckDialog() = default;

SpellCheckAction SpellCheckDialog::checkWord(const QString &word)
{
    unknownWord = word;
    // A transcript may hold '<' or '&', which the label would otherwise read as markup.
    ui->lblUnknownWord->setText(QStringLiteral("<b>%1</b>").arg(word.toHtmlEscaped()));
    ui->ledtReplaceWith->clear();
    ui->listWidget->clear();
    ui->listWidget->addItems(engine->suggestionsFor(word));
    if (ui->listWidget->count() > 0)
        ui->listWidget->setCurrentRow(0);

    resultCode = SpellCheckAction::CheckCancelled;
    exec();
    return resultCode;
}

QString SpellCheckDialog::replacementText() const
{
    return ui->ledtReplaceWith->text();
}

void SpellCheckDialog::answer(SpellCheckAction action)
{
    resultCode = action;
    accept();
}

void SpellCheckDialog::ignoreOnce()
{
    answer(SpellCheckAction::IgnoreOnce);
}

void SpellCheckDialog::ignoreAll()
{
    engine->acceptForSession(unknownWord);
    answer(SpellCheckAction::IgnoreAll);
}

void SpellCheckDialog::replaceOnce()
{
    answer(SpellCheckAction::ReplaceOnce);
}

void SpellCheckDialog::replaceAll()
{
    answer(SpellCheckAction::ReplaceAll);
}

void SpellCheckDialog::addToDict()
{
    // The user dictionary is written through newDictSig(); the engine of this run was
    // loaded before, so it learns the word here, or the run would ask about it again.
    engine->acceptForSession(unknownWord);
    resultCode = SpellCheckAction::AddToDict;
    emit newDictSig();
    accept();
}
