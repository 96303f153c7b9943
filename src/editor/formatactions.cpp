#include "editor/formatactions.h"

#include "editor/actionicon.h"

#include <QActionGroup>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QMainWindow>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextList>
#include <QToolBar>

namespace {

QIcon colorSwatch(const QColor &color)
{
    QPixmap pix(24, 24);
    pix.fill(color);
    return QIcon(pix);
}

} // namespace

FormatActions::FormatActions(QMainWindow *window_, QTextEdit *text_)
    : QObject(window_), window(window_), text(text_)
{
    auto *tb = new QToolBar(tr("Format Actions"), window);
    window->addToolBar(tb);

    const auto makeCheckable = [this](const char *theme, const char *image, const QString &label,
                                      QKeyCombination key) {
        auto *a =
            new QAction(actionIcon(QLatin1String(theme), QLatin1Char('/') + QLatin1String(image)),
                        label, window);
        a->setShortcut(key);
        a->setCheckable(true);
        a->setPriority(QAction::LowPriority);
        return a;
    };

    actionTextBold =
        makeCheckable("format-text-bold", "textbold.png", tr("&Bold"), Qt::CTRL | Qt::Key_B);
    QFont bold;
    bold.setBold(true);
    actionTextBold->setFont(bold);
    connect(actionTextBold, &QAction::triggered, this, &FormatActions::textBold);
    tb->addAction(actionTextBold);

    actionTextItalic =
        makeCheckable("format-text-italic", "textitalic.png", tr("&Italic"), Qt::CTRL | Qt::Key_I);
    QFont italic;
    italic.setItalic(true);
    actionTextItalic->setFont(italic);
    connect(actionTextItalic, &QAction::triggered, this, &FormatActions::textItalic);
    tb->addAction(actionTextItalic);

    actionTextUnderline = makeCheckable("format-text-underline", "textunder.png", tr("&Underline"),
                                        Qt::CTRL | Qt::Key_U);
    QFont underline;
    underline.setUnderline(true);
    actionTextUnderline->setFont(underline);
    connect(actionTextUnderline, &QAction::triggered, this, &FormatActions::textUnderline);
    tb->addAction(actionTextUnderline);

    auto *group = new QActionGroup(this);
    connect(group, &QActionGroup::triggered, this, &FormatActions::textAlign);
    const auto makeAlign = [&](const char *theme, const char *image, const QString &label,
                               QKeyCombination key) {
        QAction *a = makeCheckable(theme, image, label, key);
        group->addAction(a);
        return a;
    };
    // Left and right swap places for right-to-left readers; justify stays last.
    if (QApplication::isLeftToRight()) {
        actionAlignLeft =
            makeAlign("format-justify-left", "textleft.png", tr("&Left"), Qt::CTRL | Qt::Key_L);
        actionAlignCenter = makeAlign("format-justify-center", "textcenter.png", tr("C&enter"),
                                      Qt::CTRL | Qt::Key_E);
        actionAlignRight =
            makeAlign("format-justify-right", "textright.png", tr("&Right"), Qt::CTRL | Qt::Key_R);
    } else {
        actionAlignRight =
            makeAlign("format-justify-right", "textright.png", tr("&Right"), Qt::CTRL | Qt::Key_R);
        actionAlignCenter = makeAlign("format-justify-center", "textcenter.png", tr("C&enter"),
                                      Qt::CTRL | Qt::Key_E);
        actionAlignLeft =
            makeAlign("format-justify-left", "textleft.png", tr("&Left"), Qt::CTRL | Qt::Key_L);
    }
    actionAlignJustify =
        makeAlign("format-justify-fill", "textjustify.png", tr("&Justify"), Qt::CTRL | Qt::Key_J);
    tb->addActions(group->actions());

    actionTextColor = new QAction(colorSwatch(Qt::black), tr("&Color..."), window);
    connect(actionTextColor, &QAction::triggered, this, &FormatActions::textColor);
    tb->addAction(actionTextColor);

    tb = new QToolBar(tr("Format Actions"), window);
    tb->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    window->addToolBarBreak(Qt::TopToolBarArea);
    window->addToolBar(tb);

    comboStyle = new QComboBox(tb);
    comboStyle->addItems({tr("Standard"), tr("Bullet List (Disc)"), tr("Bullet List (Circle)"),
                          tr("Bullet List (Square)"), tr("Ordered List (Decimal)"),
                          tr("Ordered List (Alpha lower)"), tr("Ordered List (Alpha upper)"),
                          tr("Ordered List (Roman lower)"), tr("Ordered List (Roman upper)")});
    tb->addWidget(comboStyle);
    connect(comboStyle, &QComboBox::activated, this, &FormatActions::textStyle);

    comboFont = new QFontComboBox(tb);
    tb->addWidget(comboFont);
    connect(comboFont, &QComboBox::textActivated, this, &FormatActions::textFamily);

    comboSize = new QComboBox(tb);
    comboSize->setObjectName(QStringLiteral("comboSize"));
    comboSize->setEditable(true);
    const QList<int> sizes = QFontDatabase::standardSizes();
    for (int size : sizes)
        comboSize->addItem(QString::number(size));
    comboSize->setCurrentIndex(int(sizes.indexOf(QApplication::font().pointSize())));
    tb->addWidget(comboSize);
    connect(comboSize, &QComboBox::textActivated, this, &FormatActions::textSize);

    connect(text, &QTextEdit::currentCharFormatChanged, this,
            [this](const QTextCharFormat &format) {
                syncFontControls(format.font());
                syncColorIcon(format.foreground().color());
            });
    connect(text, &QTextEdit::cursorPositionChanged, this,
            [this] { syncAlignmentActions(text->alignment()); });
    syncFontControls(text->font());
    syncColorIcon(text->textColor());
    syncAlignmentActions(text->alignment());
}

void FormatActions::applyCharFormat(const QTextCharFormat &format)
{
    QTextCursor cursor = text->textCursor();
    if (!cursor.hasSelection())
        cursor.select(QTextCursor::WordUnderCursor);
    cursor.mergeCharFormat(format);
    text->mergeCurrentCharFormat(format);
}

void FormatActions::textBold()
{
    QTextCharFormat fmt;
    fmt.setFontWeight(actionTextBold->isChecked() ? QFont::Bold : QFont::Normal);
    applyCharFormat(fmt);
}

void FormatActions::textUnderline()
{
    QTextCharFormat fmt;
    fmt.setFontUnderline(actionTextUnderline->isChecked());
    applyCharFormat(fmt);
}

void FormatActions::textItalic()
{
    QTextCharFormat fmt;
    fmt.setFontItalic(actionTextItalic->isChecked());
    applyCharFormat(fmt);
}

void FormatActions::textFamily(const QString &family)
{
    QTextCharFormat fmt;
    fmt.setFontFamilies({family});
    applyCharFormat(fmt);
}

void FormatActions::textSize(const QString &size)
{
    const qreal pointSize = size.toDouble();
    if (pointSize > 0) {
        QTextCharFormat fmt;
        fmt.setFontPointSize(pointSize);
        applyCharFormat(fmt);
    }
}

void FormatActions::textStyle(int styleIndex)
{
    QTextCursor cursor = text->textCursor();
    if (styleIndex == 0) {
        // Merging an object index of -1 would merge nothing (-1 clears the property), so
        // each paragraph leaves its list explicitly.
        cursor.beginEditBlock();
        const QTextBlock last = text->document()->findBlock(cursor.selectionEnd());
        for (QTextBlock b = text->document()->findBlock(cursor.selectionStart()); b.isValid();
             b = b.next()) {
            if (QTextList *list = b.textList())
                list->remove(b);
            if (b == last)
                break;
        }
        cursor.endEditBlock();
        return;
    }

    QTextListFormat::Style style = QTextListFormat::ListDisc;
    switch (styleIndex) {
    case 2:
        style = QTextListFormat::ListCircle;
        break;
    case 3:
        style = QTextListFormat::ListSquare;
        break;
    case 4:
        style = QTextListFormat::ListDecimal;
        break;
    case 5:
        style = QTextListFormat::ListLowerAlpha;
        break;
    case 6:
        style = QTextListFormat::ListUpperAlpha;
        break;
    case 7:
        style = QTextListFormat::ListLowerRoman;
        break;
    case 8:
        style = QTextListFormat::ListUpperRoman;
        break;
    default:
        break;
    }

    cursor.beginEditBlock();
    if (QTextList *list = cursor.currentList()) {
        // The whole list takes the new style, not just the paragraph at the cursor.
        QTextListFormat listFmt = list->format();
        listFmt.setStyle(style);
        list->setFormat(listFmt);
        QTextBlockFormat member;
        member.setObjectIndex(list->objectIndex());
        cursor.mergeBlockFormat(member);
    } else {
        QTextBlockFormat blockFmt = cursor.blockFormat();
        QTextListFormat listFmt;
        listFmt.setIndent(blockFmt.indent() + 1);
        blockFmt.setIndent(0);
        cursor.setBlockFormat(blockFmt);
        listFmt.setStyle(style);
        cursor.createList(listFmt);
    }
    cursor.endEditBlock();
}

void FormatActions::textColor()
{
    const QColor color = QColorDialog::getColor(text->textColor(), window);
    if (!color.isValid())
        return;
    QTextCharFormat fmt;
    fmt.setForeground(color);
    applyCharFormat(fmt);
    syncColorIcon(color);
}

void FormatActions::textAlign(const QAction *action)
{
    if (action == actionAlignLeft)
        text->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    else if (action == actionAlignCenter)
        text->setAlignment(Qt::AlignHCenter);
    else if (action == actionAlignRight)
        text->setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
    else if (action == actionAlignJustify)
        text->setAlignment(Qt::AlignJustify);
}

void FormatActions::syncFontControls(const QFont &font)
{
    comboFont->setCurrentIndex(comboFont->findText(QFontInfo(font).family()));
    // A fractional size is shown as it is: the box activates its text a second time on
    // Enter, and a rounded text would then replace the size just entered.
    const QString size = font.pointSizeF() > 0 ? QString::number(font.pointSizeF()) : QString();
    const int sizeIndex = comboSize->findText(size);
    comboSize->setCurrentIndex(sizeIndex);
    if (sizeIndex < 0)
        comboSize->setEditText(size);
    actionTextBold->setChecked(font.weight() > QFont::Normal);
    actionTextItalic->setChecked(font.style() != QFont::StyleNormal);
    actionTextUnderline->setChecked(font.underline());
}

void FormatActions::syncColorIcon(const QColor &color)
{
    actionTextColor->setIcon(colorSwatch(color));
}

void FormatActions::syncAlignmentActions(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignLeft)
        actionAlignLeft->setChecked(true);
    else if (alignment & Qt::AlignHCenter)
        actionAlignCenter->setChecked(true);
    else if (alignment & Qt::AlignRight)
        actionAlignRight->setChecked(true);
    else if (alignment & Qt::AlignJustify)
        actionAlignJustify->setChecked(true);
}
