#pragma once

#include <QObject>

class QAction;
class QColor;
class QComboBox;
class QFont;
class QFontComboBox;
class QMainWindow;
class QTextCharFormat;
class QTextEdit;

// The document's formatting: bold, italic, underline, alignment, text colour, list style,
// font family and size, on the window's two "Format Actions" toolbars, with controls that
// follow the format at the cursor. The actions are children of the window, whose shortcut
// list reads them; the toolbars and controls belong to it too. A child of the window that
// borrows its text widget. GUI thread only.
class FormatActions final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FormatActions)

public:
    // Adds the toolbars to window, the second after a toolbar break.
    FormatActions(QMainWindow *window, QTextEdit *text);

private:
    void textBold();
    void textUnderline();
    void textItalic();
    void textFamily(const QString &family);
    void textSize(const QString &size);
    void textStyle(int styleIndex);
    void textColor();
    void textAlign(const QAction *action);

    // Merges format into the selection, else into the word at the cursor, and into what is
    // typed next.
    void applyCharFormat(const QTextCharFormat &format);
    void syncFontControls(const QFont &font);
    void syncColorIcon(const QColor &color);
    void syncAlignmentActions(Qt::Alignment alignment);

    QMainWindow *window;
    QTextEdit *text;
    QAction *actionTextBold = nullptr;
    QAction *actionTextUnderline = nullptr;
    QAction *actionTextItalic = nullptr;
    QAction *actionTextColor = nullptr;
    QAction *actionAlignLeft = nullptr;
    QAction *actionAlignCenter = nullptr;
    QAction *actionAlignRight = nullptr;
    QAction *actionAlignJustify = nullptr;
    QComboBox *comboStyle = nullptr;
    QFontComboBox *comboFont = nullptr;
    QComboBox *comboSize = nullptr;
};
