#include "player/preferencesdialog.h"

#include "player/drillsettingsdialog.h"
#include "player/interfacelanguage.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

PreferencesDialog::PreferencesDialog(const Preferences &preferences,
                                     const QList<std::pair<QKeySequence, QString>> &editorKeys_,
                                     QWidget *parent)
    : QDialog(parent), editorKeys(editorKeys_), keys(preferences.keys)
{
    setWindowTitle(tr("Preferences"));
    auto *layout = new QVBoxLayout(this);
    auto *tabs = new QTabWidget(this);
    tabs->addTab(createGeneralPage(preferences), tr("General"));

    auto *drillPage = new QWidget(tabs);
    auto *drillLayout = new QVBoxLayout(drillPage);
    drillLayout->addWidget(new QLabel(
        tr("For lessons opened for the first time. A lesson studied before keeps its own."),
        drillPage));
    drill = new DrillSettingsForm(preferences.drillDefaults, drillPage);
    drillLayout->addWidget(drill);
    auto *reviewForm = new QFormLayout;
    retention = new QSpinBox(drillPage);
    retention->setObjectName(QStringLiteral("retention"));
    retention->setRange(qRound(lesson::LessonStore::minRetention * 100),
                        qRound(lesson::LessonStore::maxRetention * 100));
    retention->setSuffix(QStringLiteral(" %"));
    retention->setValue(qRound(preferences.desiredRetention * 100));
    retention->setToolTip(tr("Higher brings what you missed back sooner and more often."));
    reviewForm->addRow(tr("Review what I missed when my chance of recalling it falls to"),
                       retention);
    drillLayout->addLayout(reviewForm);
    drillLayout->addStretch();
    tabs->addTab(drillPage, tr("Drill"));

    tabs->addTab(createKeysPage(), tr("Keys"));
    layout->addWidget(tabs);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(560, 520);
}

QWidget *PreferencesDialog::createGeneralPage(const Preferences &preferences)
{
    auto *page = new QWidget(this);
    auto *form = new QFormLayout(page);

    language = new QComboBox(page);
    language->setObjectName(QStringLiteral("language"));
    // each language in its own words, so it can be found in any of them
    const QString names[] = {tr("As the system"), QStringLiteral("English"),
                             QStringLiteral("中文 (Chinese)")};
    const QStringList codes = interfacelanguage::choices();
    for (int i = 0; i < codes.size(); ++i)
        language->addItem(names[i], codes[i]);
    language->setCurrentIndex(std::max(0, language->findData(preferences.language)));
    form->addRow(tr("Interface language"), language);
    form->addRow(QString(), new QLabel(tr("Takes effect at the next start."), page));

    dictionary = new QComboBox(page);
    dictionary->setObjectName(QStringLiteral("dictionary"));
    dictionary->addItem(tr("American English (en_US)"), QStringLiteral("en_US"));
    dictionary->addItem(tr("British English (en_GB)"), QStringLiteral("en_GB"));
    dictionary->setCurrentIndex(std::max(0, dictionary->findData(preferences.dictionary)));
    form->addRow(tr("Spelling dictionary"), dictionary);

    nudge = new QDoubleSpinBox(page);
    nudge->setObjectName(QStringLiteral("nudge"));
    nudge->setRange(Preferences::minNudgeSeconds, Preferences::maxNudgeSeconds);
    nudge->setDecimals(2);
    nudge->setSingleStep(0.05);
    nudge->setSuffix(tr(" s"));
    nudge->setValue(preferences.nudgeSeconds);
    form->addRow(tr("A nudge moves a loop mark by"), nudge);
    return page;
}

QWidget *PreferencesDialog::createKeysPage()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(tr("Click a field and press the key, a foot pedal's too."), page));
    keyTable = new QTableWidget(PlayerKeys::commandCount, 1 + PlayerKeys::keysPerCommand, page);
    keyTable->setHorizontalHeaderLabels({tr("Command"), tr("Key"), tr("Alternate key")});
    keyTable->verticalHeader()->hide();
    keyTable->setSelectionMode(QAbstractItemView::NoSelection);
    keyTable->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int c = 0; c < PlayerKeys::commandCount; ++c) {
        const auto command = PlayerKeys::Command(c);
        auto *name = new QTableWidgetItem(PlayerKeys::label(command));
        name->setFlags(Qt::ItemIsEnabled);
        keyTable->setItem(c, 0, name);
        for (int slot = 0; slot < PlayerKeys::keysPerCommand; ++slot) {
            auto *edit = new QKeySequenceEdit(keyTable);
            edit->setClearButtonEnabled(true);
            // Queued: the field empties itself as it starts taking a key and reports that
            // too; once the press is over it holds the key, or nothing after its clear
            // button.
            connect(
                edit, &QKeySequenceEdit::keySequenceChanged, this,
                [this, command, slot] { takeKey(command, slot); }, Qt::QueuedConnection);
            keyTable->setCellWidget(c, 1 + slot, edit);
        }
    }
    layout->addWidget(keyTable);
    auto *restore = new QPushButton(tr("Restore Default Keys"), page);
    restore->setObjectName(QStringLiteral("restoreKeys"));
    connect(restore, &QPushButton::clicked, this, [this] {
        keys = PlayerKeys();
        showKeys();
    });
    layout->addWidget(restore, 0, Qt::AlignRight);
    showKeys();
    return page;
}

QKeySequenceEdit *PreferencesDialog::keyEdit(PlayerKeys::Command command, int slot) const
{
    return static_cast<QKeySequenceEdit *>(keyTable->cellWidget(command, 1 + slot));
}

void PreferencesDialog::showKeys()
{
    for (int c = 0; c < PlayerKeys::commandCount; ++c) {
        for (int slot = 0; slot < PlayerKeys::keysPerCommand; ++slot) {
            QKeySequenceEdit *edit = keyEdit(PlayerKeys::Command(c), slot);
            const QSignalBlocker quiet(edit);
            edit->setKeySequence(keys.keys(PlayerKeys::Command(c))[size_t(slot)]);
        }
    }
}

void PreferencesDialog::takeKey(PlayerKeys::Command command, int slot)
{
    QKeySequenceEdit *edit = keyEdit(command, slot);
    // one key per field: the first one pressed is taken at once
    const QKeySequence key = PlayerKeys::normalized(edit->keySequence());
    QString refusal;
    if (!key.isEmpty()) {
        const std::optional<PlayerKeys::Command> owner = keys.commandOf(key[0]);
        const bool here = owner == command && keys.keys(command)[size_t(slot)] == key;
        if (owner && !here) {
            refusal = tr("%1 is already the key of \u201c%2\u201d.")
                          .arg(key.toString(QKeySequence::NativeText), PlayerKeys::label(*owner));
        } else if (PlayerKeys::reachableFromEditor(command)) {
            for (const auto &[editorKey, name] : editorKeys) {
                if (editorKey == key) {
                    refusal = tr("%1 is the editor's key for \u201c%2\u201d: pressed there, it "
                                 "would not reach the player.")
                                  .arg(key.toString(QKeySequence::NativeText), name);
                    break;
                }
            }
        }
    }
    if (refusal.isEmpty())
        keys.setKey(command, slot, key);
    {
        const QSignalBlocker quiet(edit);
        edit->setKeySequence(keys.keys(command)[size_t(slot)]);
    }
    if (!key.isEmpty())
        edit->clearFocus();
    if (!refusal.isEmpty())
        QMessageBox::warning(this, tr("Keys"), refusal);
}

Preferences PreferencesDialog::preferences() const
{
    Preferences p;
    p.language = language->currentData().toString();
    p.dictionary = dictionary->currentData().toString();
    p.nudgeSeconds = nudge->value();
    p.drillDefaults = drill->settings();
    p.desiredRetention = retention->value() / 100.0;
    p.keys = keys;
    return p;
}
