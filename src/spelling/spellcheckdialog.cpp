#include "spelling/spellcheckdialog.h"

#include "spelling/spellingengine.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpacerItem>
#include <QVBoxLayout>

// The dialog's children; each is owned by its Qt parent, so this holds no owners.
struct SpellCheckDialog::Widgets
{
    QGridLayout *gridLayout;
    QLabel *label;
    QLabel *lblUnknownWord;
    QPushButton *btnAddToDict;
    QLabel *label_2;
    QLineEdit *ledtReplaceWith;
    QVBoxLayout *verticalLayout;
    QPushButton *btnReplaceOnce;
    QPushButton *btnReplaceAll;
    QPushButton *btnIgnoreOnce;
    QPushButton *btnIgnoreAll;
    QPushButton *btnCancel;
    QListWidget *listWidget;
};

SpellCheckDialog::SpellCheckDialog(SpellingEngine *engine_, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Widgets>()), engine(engine_)
{
    setupWidgets();

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

void SpellCheckDialog::setupWidgets()
{
    setObjectName(QStringLiteral("SpellCheckDialog"));
    resize(701, 509);
    setWindowTitle(tr("Spell Checker"));

    ui->gridLayout = new QGridLayout(this);
    ui->gridLayout->setObjectName(QStringLiteral("gridLayout"));

    const auto label = [this](const char *name, const QString &text) {
        auto *widget = new QLabel(text, this);
        widget->setObjectName(QLatin1String(name));
        return widget;
    };
    const auto button = [this](const char *name, const QString &text) {
        auto *widget = new QPushButton(text, this);
        widget->setObjectName(QLatin1String(name));
        return widget;
    };

    ui->label = label("label", tr("unknown word:"));
    ui->lblUnknownWord = label("lblUnknownWord", tr("TextLabel"));
    ui->lblUnknownWord->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    // Rich text so the word is shown bold; checkWord() escapes the word itself.
    ui->lblUnknownWord->setTextFormat(Qt::RichText);
    ui->btnAddToDict = button("btnAddToDict", tr("<< add to dictionary"));
    ui->label_2 = label("label_2", tr("replace with:"));
    ui->ledtReplaceWith = new QLineEdit(this);
    ui->ledtReplaceWith->setObjectName(QStringLiteral("ledtReplaceWith"));

    ui->verticalLayout = new QVBoxLayout;
    ui->verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
    ui->btnReplaceOnce = button("btnReplaceOnce", tr("replace once"));
    ui->btnReplaceAll = button("btnReplaceAll", tr("replace all"));
    ui->btnIgnoreOnce = button("btnIgnoreOnce", tr("ignore once"));
    ui->btnIgnoreAll = button("btnIgnoreAll", tr("ignore all"));
    ui->btnCancel = button("btnCancel", tr("cancel"));
    ui->verticalLayout->addWidget(ui->btnReplaceOnce);
    ui->verticalLayout->addWidget(ui->btnReplaceAll);
    ui->verticalLayout->addItem(new QSpacerItem(20, 13, QSizePolicy::Minimum, QSizePolicy::Fixed));
    ui->verticalLayout->addWidget(ui->btnIgnoreOnce);
    ui->verticalLayout->addWidget(ui->btnIgnoreAll);
    ui->verticalLayout->addItem(
        new QSpacerItem(20, 240, QSizePolicy::Minimum, QSizePolicy::Expanding));
    ui->verticalLayout->addWidget(ui->btnCancel);

    ui->listWidget = new QListWidget(this);
    ui->listWidget->setObjectName(QStringLiteral("listWidget"));
    ui->listWidget->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui->listWidget->setDropIndicatorShown(false);

    ui->gridLayout->addWidget(ui->label, 0, 0, 1, 1);
    ui->gridLayout->addWidget(ui->lblUnknownWord, 0, 1, 1, 1);
    ui->gridLayout->addWidget(ui->btnAddToDict, 0, 2, 1, 2);
    ui->gridLayout->addWidget(ui->label_2, 1, 0, 1, 1);
    ui->gridLayout->addWidget(ui->ledtReplaceWith, 1, 1, 1, 2);
    ui->gridLayout->addLayout(ui->verticalLayout, 1, 3, 2, 1);
    ui->gridLayout->addWidget(ui->listWidget, 2, 0, 1, 3);
}

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
