#pragma once

#include "player/playerkeys.h"

#include <QDialog>

#include <functional>

class QTextBrowser;

// The program's own help, there without a browser or a network: the practice guide shipped
// with the program, its key list built from the player's keys as they are now, and a link
// to the home page. GUI thread.
class HelpWindow final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HelpWindow)

public:
    HelpWindow(const QString &homePage, QWidget *parent = nullptr);
    // Shows the guide with these keys; fromEditor: whether the editor hands a key over.
    void showKeys(const PlayerKeys &keys, const std::function<bool(QKeyCombination)> &fromEditor);

    QString shownText() const;

    // The guide's text with its key list (the paragraph under "Keys in the player window")
    // replaced by one line per command: its keys, what it does, and "(also in the editor)"
    // where the editor hands them over. Commands without keys are left out.
    static QString guideWithKeys(const QString &guide, const PlayerKeys &keys,
                                 const std::function<bool(QKeyCombination)> &fromEditor);

private:
    QTextBrowser *text = nullptr;
};
