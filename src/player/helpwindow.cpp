#include "player/helpwindow.h"

#include "paths/apppaths.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

const QString keysHeading = QStringLiteral("Keys in the player window");

QString readGuide()
{
    QFile file(AppPaths::defaultDocument());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace

HelpWindow::HelpWindow(const QString &homePage, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("Help"));
    auto *layout = new QVBoxLayout(this);
    text = new QTextBrowser(this);
    text->setObjectName(QStringLiteral("helpText"));
    // the guide lines its key list up in columns
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text->setLineWrapMode(QTextEdit::NoWrap);
    layout->addWidget(text);
    auto *link = new QLabel(
        tr("More on the home page: <a href=\"%1\">%1</a>").arg(homePage.toHtmlEscaped()), this);
    link->setObjectName(QStringLiteral("homePageLink"));
    link->setOpenExternalLinks(true);
    layout->addWidget(link);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(720, 600);
}

void HelpWindow::showKeys(const PlayerKeys &keys,
                          const std::function<bool(QKeyCombination)> &fromEditor)
{
    const QString guide = readGuide();
    text->setPlainText(guide.isEmpty()
                           ? tr("The guide %1 is missing.").arg(AppPaths::defaultDocument())
                           : guideWithKeys(guide, keys, fromEditor));
}

QString HelpWindow::shownText() const
{
    return text->toPlainText();
}

QString HelpWindow::guideWithKeys(const QString &guide, const PlayerKeys &keys,
                                  const std::function<bool(QKeyCombination)> &fromEditor)
{
    QStringList names;
    QStringList labels;
    qsizetype width = 0;
    for (int c = 0; c < PlayerKeys::commandCount; ++c) {
        const auto command = PlayerKeys::Command(c);
        QStringList assigned;
        bool inEditor = false;
        for (const QKeySequence &key : keys.assigned(command)) {
            assigned += key.toString(QKeySequence::NativeText);
            inEditor = inEditor || fromEditor(key[0]);
        }
        if (assigned.isEmpty())
            continue;
        names += assigned.join(QStringLiteral(", "));
        width = std::max(width, names.last().size());
        labels += inEditor ? tr("%1 (also in the editor)").arg(PlayerKeys::label(command))
                           : PlayerKeys::label(command);
    }
    QString list = tr("Keys in the player window") + u'\n';
    for (qsizetype i = 0; i < names.size(); ++i)
        list += QStringLiteral("  ") + names[i].leftJustified(width + 2) + labels[i] + u'\n';

    // the guide's own list ends at the first empty line after its heading
    const qsizetype start = guide.indexOf(keysHeading);
    if (start < 0)
        return guide + QStringLiteral("\n\n") + list;
    qsizetype end = guide.indexOf(QStringLiteral("\n\n"), start);
    end = end < 0 ? guide.size() : end + 1;
    return guide.left(start) + list + guide.mid(end);
}
