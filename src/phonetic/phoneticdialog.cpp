#include "phonetic/phoneticdialog.h"

#include "paths/apppaths.h"
#include "phonetic/nofocusrectanglestyle.h"
#include "phonetic/phonetictokens.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <array>

namespace {

constexpr int searchDelayMs = 10;

const QString menschFamily = QStringLiteral("Mensch");

} // namespace

// The dialog's twenty children; each is owned by its Qt parent, so this holds no owners.
struct PhoneticDialog::Widgets
{
    QRadioButton *captionMode;
    QGroupBox *keyGroup;
    QPushButton *k230, *k240, *k952, *k331, *k593, *k601;
    QPushButton *k609, *k596, *k643, *k652, *k658, *k603;
    QRadioButton *phoneticMode;
    QListWidget *displayResult;
    QGroupBox *manualGroup;
    QLabel *manualLabel;
    QTextEdit *displayFull;
    QLineEdit *inputPhonetic;
};

PhoneticDialog::PhoneticDialog(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Widgets>()), lazyTimer_(new QTimer(this))
{
    lazyTimer_->setSingleShot(true);
    lazyTimer_->setInterval(searchDelayMs);
    connect(lazyTimer_, &QTimer::timeout, this, &PhoneticDialog::triggerDisplay);

    setupWidgets();

    setFixedSize(613, 372);
    ui->displayFull->setReadOnly(true);
    // Created after keyGroup, so as a later child of the dialog it is destroyed after the
    // group box that draws with it.
    auto *style = new NoFocusRectangleStyle;
    style->setParent(this);
    ui->keyGroup->setStyle(style);

    ui->displayResult->addItem(QStringLiteral("example"));
    ui->displayResult->addItem(QStringLiteral("exampling"));
    ui->displayResult->setCurrentRow(0);

    // The initial text was set before this connection, so it starts no search. Return
    // searches the last reported text, which is therefore the text on show from the start:
    // an empty one would empty the list, or in caption mode list the whole dictionary.
    lazyText_ = ui->inputPhonetic->text();
    connect(ui->inputPhonetic, &QLineEdit::textChanged, this, &PhoneticDialog::lazyLoad);
}

PhoneticDialog::~PhoneticDialog() = default;

void PhoneticDialog::setupWidgets()
{
    setObjectName(QStringLiteral("PhoneticDialog"));
    setAutoFillBackground(true);
    setStyleSheet(studyToolButtonStyleSheet);
    setWindowTitle(tr("vorlynplayer 听音查词 V1.2"));

    const auto named = [](QWidget *widget, const char *name, const QRect &geometry) {
        widget->setObjectName(QLatin1String(name));
        widget->setGeometry(geometry);
    };

    ui->captionMode = new QRadioButton(this);
    named(ui->captionMode, "captionMode", {380, 130, 89, 17});
    ui->captionMode->setText(tr("模糊查词"));

    ui->keyGroup = new QGroupBox(this);
    named(ui->keyGroup, "keyGroup", {10, 10, 257, 101});
    ui->keyGroup->setTitle(tr("特殊音标符号"));

    // Rows of the key pad; each key is named after the code point of the symbol it inserts.
    const std::array<std::array<QPushButton **, 6>, 2> keys{{
        {&ui->k230, &ui->k240, &ui->k952, &ui->k331, &ui->k593, &ui->k601},
        {&ui->k609, &ui->k596, &ui->k643, &ui->k652, &ui->k658, &ui->k603},
    }};
    const std::array<std::array<char16_t, 6>, 2> symbols{{
        {u'\u00E6', u'\u00F0', u'\u03B8', u'\u014B', u'\u0251', u'\u0259'},
        {u'\u0261', u'\u0254', u'\u0283', u'\u028C', u'\u0292', u'\u025B'},
    }};
    for (std::size_t row = 0; row < keys.size(); ++row) {
        for (std::size_t column = 0; column < keys[row].size(); ++column) {
            auto *key = new QPushButton(ui->keyGroup);
            const char16_t symbol = symbols[row][column];
            key->setObjectName(QLatin1Char('k') + QString::number(int(symbol)));
            key->setGeometry(10 + 40 * int(column), 20 + 40 * int(row), 37, 31);
            // The dialog's minimum button width is wider than a key; without this the keys
            // would grow over their neighbours.
            key->setStyleSheet(QStringLiteral("min-width: 0px; min-height: 0px;"));
            key->setFont(QFont(menschFamily, 12));
            key->setFocusPolicy(Qt::NoFocus);
            key->setContextMenuPolicy(Qt::NoContextMenu);
            key->setText(QString(QChar(symbol)));
            *keys[row][column] = key;
        }
    }

    ui->phoneticMode = new QRadioButton(this);
    named(ui->phoneticMode, "phoneticMode", {280, 130, 89, 17});
    ui->phoneticMode->setChecked(true);
    ui->phoneticMode->setText(tr("听音查词"));

    ui->displayResult = new QListWidget(this);
    named(ui->displayResult, "displayResult", {10, 170, 257, 191});
    QFont listFont = ui->displayResult->font();
    listFont.setPointSize(10);
    ui->displayResult->setFont(listFont);
    ui->displayResult->setStyleSheet(QString());

    // The usage text takes the whole width beside the keys and the height above the mode
    // buttons; laid out inside its box, it starts below the title and wraps.
    ui->manualGroup = new QGroupBox(this);
    named(ui->manualGroup, "manualGroup", {280, 4, 323, 120});
    ui->manualGroup->setTitle(tr("使用说明"));

    ui->manualLabel = new QLabel(ui->manualGroup);
    ui->manualLabel->setObjectName(QStringLiteral("manualLabel"));
    ui->manualLabel->setFont(QFont(menschFamily, 9));
    ui->manualLabel->setWordWrap(true);
    ui->manualLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *manualLayout = new QVBoxLayout(ui->manualGroup);
    manualLayout->setContentsMargins(6, 2, 6, 2);
    manualLayout->addWidget(ui->manualLabel);
    ui->manualLabel->setText(tr("\n  输入音标后，软件会根据读音，搜索出单词！\n\n"
                                "  特殊音标点击按钮，其它用键盘输入。\n\n"
                                "  如输入[igzɑ:mpl]即可查得example"));

    ui->displayFull = new QTextEdit(this);
    named(ui->displayFull, "displayFull", {280, 170, 321, 191});
    ui->displayFull->setFont(QFont(menschFamily, 11));
    ui->displayFull->setContextMenuPolicy(Qt::NoContextMenu);
    ui->displayFull->setStyleSheet(QString());

    ui->inputPhonetic = new QLineEdit(this);
    named(ui->inputPhonetic, "inputPhonetic", {10, 130, 257, 20});
    ui->inputPhonetic->setFont(QFont(menschFamily, 10));
    ui->inputPhonetic->setContextMenuPolicy(Qt::NoContextMenu);
    ui->inputPhonetic->setText(QStringLiteral(u"igz\u0251:mpl"));

    QMetaObject::connectSlotsByName(this);
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

void PhoneticDialog::on_phoneticMode_toggled(bool checked)
{
    if (checked)
        captionMode_ = 0;
}

void PhoneticDialog::on_captionMode_toggled(bool checked)
{
    if (checked)
        captionMode_ = 1;
}

void PhoneticDialog::on_inputPhonetic_returnPressed()
{
    search(lazyText_, PhoneticDictionary::AllRows);
}

void PhoneticDialog::on_k230_clicked()
{
    insertSymbol(230);
}

void PhoneticDialog::on_k240_clicked()
{
    insertSymbol(240);
}

void PhoneticDialog::on_k952_clicked()
{
    insertSymbol(952);
}

void PhoneticDialog::on_k331_clicked()
{
    insertSymbol(331);
}

void PhoneticDialog::on_k593_clicked()
{
    insertSymbol(593);
}

void PhoneticDialog::on_k601_clicked()
{
    insertSymbol(601);
}

void PhoneticDialog::on_k609_clicked()
{
    insertSymbol(609);
}

void PhoneticDialog::on_k596_clicked()
{
    insertSymbol(596);
}

void PhoneticDialog::on_k643_clicked()
{
    insertSymbol(643);
}

void PhoneticDialog::on_k652_clicked()
{
    insertSymbol(652);
}

void PhoneticDialog::on_k658_clicked()
{
    insertSymbol(658);
}

void PhoneticDialog::on_k603_clicked()
{
    insertSymbol(603);
}

void PhoneticDialog::on_displayResult_itemClicked(QListWidgetItem *item)
{
    showEntry(item);
}

void PhoneticDialog::on_displayResult_currentRowChanged(int row)
{
    showEntry(ui->displayResult->item(row));
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
    ui->displayResult->addItems(dict_.results());
    connectList();

    // The first word's entry replaces the previous search's; an empty list says why.
    if (ui->displayResult->count() > 0)
        ui->displayResult->setCurrentRow(0);
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
// Both are made by signature, as the by-name connection is, so each form undoes the other.
void PhoneticDialog::connectList()
{
    connect(ui->displayResult, SIGNAL(currentRowChanged(int)), this,
            SLOT(on_displayResult_currentRowChanged(int)), Qt::UniqueConnection);
    connect(ui->displayResult, SIGNAL(itemClicked(QListWidgetItem *)), this,
            SLOT(on_displayResult_itemClicked(QListWidgetItem *)), Qt::UniqueConnection);
}

void PhoneticDialog::disconnectList()
{
    disconnect(ui->displayResult, SIGNAL(currentRowChanged(int)), this,
               SLOT(on_displayResult_currentRowChanged(int)));
    disconnect(ui->displayResult, SIGNAL(itemClicked(QListWidgetItem *)), this,
               SLOT(on_displayResult_itemClicked(QListWidgetItem *)));
}

void PhoneticDialog::insertSymbol(char16_t symbol)
{
    ui->inputPhonetic->insert(QString(QChar(symbol)));
    ui->inputPhonetic->setFocus();
}

// A row without an item (the list emptied or an index out of range) shows nothing.
void PhoneticDialog::showEntry(const QListWidgetItem *item)
{
    if (!item)
        return;
    ui->displayFull->setText(dict_.lookupWord(item->text().toUtf8()).join(QLatin1Char('\n')));
}
