#include "phonetic/phoneticdialog.h"

#include "paths/apppaths.h"
#include "phonetic/phonetictokens.h"
#include "phonetic/soundmatch.h"
#include "studystyle/nofocusrectanglestyle.h"

#include "ui_phoneticdialog.h"

#include <QRegularExpression>
#include <QTimer>

namespace {

constexpr int searchDelayMs = 10;

} // namespace

PhoneticDialog::PhoneticDialog(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::PhoneticDialog>()), lazyTimer_(new QTimer(this))
{
    lazyTimer_->setSingleShot(true);
    lazyTimer_->setInterval(searchDelayMs);
    connect(lazyTimer_, &QTimer::timeout, this, &PhoneticDialog::triggerDisplay);

    ui->setupUi(this);
    // The keys carry their own style sheet that lifts the minimum size of these button
    // rules, which would otherwise widen a key over its neighbours.
    setStyleSheet(studyToolButtonStyleSheet);
    // Created after keyGroup, so as a later child of the dialog it is destroyed after the
    // group box that draws with it.
    auto *style = new NoFocusRectangleStyle;
    style->setParent(this);
    ui->keyGroup->setStyle(style);

    connect(ui->phoneticMode, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            captionMode_ = 0;
    });
    connect(ui->captionMode, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            captionMode_ = 1;
    });
    // Return searches the last reported text over all rows.
    connect(ui->inputPhonetic, &QLineEdit::returnPressed, this,
            [this] { search(lazyText_, PhoneticDictionary::AllRows); });
    // Each key inserts the symbol it shows.
    for (QPushButton *key : ui->keyGroup->findChildren<QPushButton *>())
        connect(key, &QPushButton::clicked, this, [this, key] { insertSymbol(key->text()); });
    connectList();
    // Hear says the chosen word, so it can be pressed only while there is one.
    connect(ui->hearButton, &QPushButton::clicked, this,
            [this] { emit hearRequested(chosenWord()); });
    connect(ui->displayResult, &QListWidget::currentRowChanged, this,
            [this] { ui->hearButton->setEnabled(!chosenWord().isEmpty()); });

    ui->displayResult->addItem(QStringLiteral("example"));
    ui->displayResult->addItem(QStringLiteral("exampling"));
    ui->displayResult->setCurrentRow(0);

    // The initial text was set before this connection, so it starts no search. Return
    // searches the last reported text, which is therefore the text on show from the start:
    // an empty one would empty the list, or in caption mode list the whole dictionary.
    lazyText_ = ui->inputPhonetic->text();
    connect(ui->inputPhonetic, &QLineEdit::textChanged, this, &PhoneticDialog::lazyLoad);
    // the dictionary is read into memory once the dialog is on screen, not on the first key
    QTimer::singleShot(0, this, [this] { dict_.prepare(); });
}

PhoneticDialog::~PhoneticDialog() = default;

void PhoneticDialog::lookUpWord(const QString &word)
{
    ui->captionMode->setChecked(true);
    ui->inputPhonetic->setText(word);
    // setText reports no change when the word is already on show
    lazyLoad(word);
}

void PhoneticDialog::displaySlot(const QString &text)
{
    search(text, PhoneticDictionary::Limited);
}

void PhoneticDialog::lazyLoad(const QString &text)
{
    lazyText_ = text;
    lazyTimer_->start();
}

void PhoneticDialog::triggerDisplay()
{
    displaySlot(lazyText_);
}

void PhoneticDialog::search(const QString &text, int limitMode)
{
    if (captionMode_)
        dict_.searchByCaption(text.toUtf8(), limitMode);
    else
        dict_.searchByPhonetic(text, limitMode);
    ui->inputPhonetic->setFocus();

    // Clearing moves the current row, which must not look the vanished words up.
    disconnectList();
    ui->displayResult->clear();
    const QStringList &results = dict_.results();
    const int nearFrom = dict_.nearMatchesFrom();
    ui->displayResult->addItems(results.mid(0, nearFrom));
    if (nearFrom < results.size()) {
        // the near matches follow under a heading of their own, in italics
        auto *heading = new QListWidgetItem(tr("Sounds close:"), ui->displayResult);
        heading->setFlags(Qt::NoItemFlags);
        for (const QString &caption : results.mid(nearFrom)) {
            auto *item = new QListWidgetItem(caption, ui->displayResult);
            QFont font = item->font();
            font.setItalic(true);
            item->setFont(font);
            item->setToolTip(tr("Not what you typed, but it sounds close to it"));
        }
    }
    connectList();
    // how the typing was read, so the learner sees o taken as ɔ and : as ː
    ui->readAs->setText(captionMode_ || text.isEmpty()
                            ? QString()
                            : tr("Read as: %1").arg(sounds::readLearnerTyping(text)));

    // The first word's entry replaces the previous search's; an empty list says why.
    if (ui->displayResult->count() > 0)
        ui->displayResult->setCurrentRow(nearFrom == 0 && nearFrom < results.size() ? 1 : 0);
    else
        ui->displayFull->setPlainText(text.isEmpty() ? QString() : whyNothingFound(text));
}

QString PhoneticDialog::whyNothingFound(const QString &text) const
{
    const QString hint =
        tr("Type the sounds with the letters b d e f g h i j k l m n o p r s t u v w z, a for "
           "ɑ, : for a long vowel (ː) and ' for stress (ˈ); click the keys "
           "for the other symbols. For example, igza:mpl finds example.");
    if (!dict_.error().isEmpty())
        return tr("The dictionary \"%1\" cannot be read: %2")
            .arg(AppPaths::wordDatabase(), dict_.error());
    if (captionMode_) {
        if (!QRegularExpression(text).isValid())
            return tr("\"%1\" is not a search pattern the dialog can read.").arg(text);
        return tr("No word matches \"%1\".").arg(text);
    }
    if (!isPhoneticSequence(toNotationAlphabet(text)))
        return tr("\"%1\" cannot be read as a pronunciation.").arg(text) + QLatin1String("\n\n") +
               hint;
    return tr("No word sounds like \"%1\".").arg(text) + QLatin1String("\n\n") + hint;
}

// Only the two lookup connections are cut: the list's own item signals are driven by
// connections from the list to itself, and cutting those would silence item clicks for good.
void PhoneticDialog::connectList()
{
    connect(ui->displayResult, &QListWidget::currentRowChanged, this, &PhoneticDialog::showRow,
            Qt::UniqueConnection);
    connect(ui->displayResult, &QListWidget::itemClicked, this, &PhoneticDialog::showEntry,
            Qt::UniqueConnection);
}

void PhoneticDialog::disconnectList()
{
    disconnect(ui->displayResult, &QListWidget::currentRowChanged, this, &PhoneticDialog::showRow);
    disconnect(ui->displayResult, &QListWidget::itemClicked, this, &PhoneticDialog::showEntry);
}

void PhoneticDialog::insertSymbol(const QString &symbol)
{
    ui->inputPhonetic->insert(symbol);
    ui->inputPhonetic->setFocus();
}

// A row without an item (the list emptied or an index out of range) shows nothing.
void PhoneticDialog::showEntry(const QListWidgetItem *item)
{
    if (!item || !(item->flags() & Qt::ItemIsEnabled))
        return;
    ui->displayFull->setText(dict_.lookupWord(item->text().toUtf8()).join(QLatin1Char('\n')));
}

void PhoneticDialog::showRow(int row)
{
    showEntry(ui->displayResult->item(row));
}

QString PhoneticDialog::chosenWord() const
{
    const QListWidgetItem *item = ui->displayResult->currentItem();
    return item && (item->flags() & Qt::ItemIsEnabled) ? item->text() : QString();
}
