#include "player/playerkeys.h"

#include "player/playersettings.h"

#include <QCoreApplication>

namespace {

struct CommandInfo
{
    // the command's name in the settings file
    const char *id;
    const char *label;
    QKeyCombination main;
    QKeyCombination alternate;
};

constexpr QKeyCombination none{};

QKeyCombination alt(Qt::Key key)
{
    return QKeyCombination(Qt::AltModifier, key);
}

// In the order of PlayerKeys::Command.
const CommandInfo &info(PlayerKeys::Command command)
{
    static const CommandInfo table[PlayerKeys::commandCount] = {
        {"nudgeMarkInEarlier", QT_TRANSLATE_NOOP("PlayerKeys", "Move the loop's start earlier"),
         Qt::Key_F1, none},
        {"nudgeMarkInLater", QT_TRANSLATE_NOOP("PlayerKeys", "Move the loop's start later"),
         Qt::Key_F2, none},
        {"nudgeMarkOutEarlier", QT_TRANSLATE_NOOP("PlayerKeys", "Move the loop's end earlier"),
         Qt::Key_F3, none},
        {"nudgeMarkOutLater", QT_TRANSLATE_NOOP("PlayerKeys", "Move the loop's end later"),
         Qt::Key_F4, none},
        {"playPause", QT_TRANSLATE_NOOP("PlayerKeys", "Play or pause"), Qt::Key_F5, Qt::Key_Space},
        {"previousStretch", QT_TRANSLATE_NOOP("PlayerKeys", "Loop the stretch before"), Qt::Key_F6,
         none},
        {"markInHere", QT_TRANSLATE_NOOP("PlayerKeys", "Start the loop here"), Qt::Key_F7, none},
        {"markOutHere", QT_TRANSLATE_NOOP("PlayerKeys", "End the loop here"), Qt::Key_F8, none},
        {"nextStretch", QT_TRANSLATE_NOOP("PlayerKeys", "Loop the stretch after"), Qt::Key_F9,
         none},
        {"slower", QT_TRANSLATE_NOOP("PlayerKeys", "Slower"), Qt::Key_F10, none},
        {"faster", QT_TRANSLATE_NOOP("PlayerKeys", "Faster"), Qt::Key_F11, none},
        {"normalSpeed", QT_TRANSLATE_NOOP("PlayerKeys", "Normal speed"), Qt::Key_F12, none},
        {"loopSentence", QT_TRANSLATE_NOOP("PlayerKeys", "Loop the sentence here"), Qt::Key_Insert,
         none},
        {"skipBack", QT_TRANSLATE_NOOP("PlayerKeys", "Skip back"), Qt::Key_Left, none},
        {"skipForward", QT_TRANSLATE_NOOP("PlayerKeys", "Skip forward"), Qt::Key_Right, none},
        {"drill", QT_TRANSLATE_NOOP("PlayerKeys", "Drill on or off"), alt(Qt::Key_D), none},
        {"drillAgain", QT_TRANSLATE_NOOP("PlayerKeys", "Drill: play the sentence again"),
         alt(Qt::Key_A), none},
        {"drillNext", QT_TRANSLATE_NOOP("PlayerKeys", "Drill: next sentence"), alt(Qt::Key_N),
         none},
        {"drillHint", QT_TRANSLATE_NOOP("PlayerKeys", "Drill: show a hint"), alt(Qt::Key_H), none},
        {"drillReveal", QT_TRANSLATE_NOOP("PlayerKeys", "Drill: show the sentence"), alt(Qt::Key_R),
         none},
        {"drillTranslation", QT_TRANSLATE_NOOP("PlayerKeys", "Drill: show or hide the translation"),
         alt(Qt::Key_T), none},
        {"checkSentence", QT_TRANSLATE_NOOP("PlayerKeys", "Check what I wrote"), alt(Qt::Key_C),
         none},
        {"checkTranscript", QT_TRANSLATE_NOOP("PlayerKeys", "Check the whole transcript"),
         alt(Qt::Key_W), none},
        {"review", QT_TRANSLATE_NOOP("PlayerKeys", "Review what I missed, or end the review"),
         alt(Qt::Key_V), none},
        {"openLesson", QT_TRANSLATE_NOOP("PlayerKeys", "Open a lesson"),
         QKeyCombination(Qt::ControlModifier, Qt::Key_O), none},
        {"leaveFullScreen", QT_TRANSLATE_NOOP("PlayerKeys", "Leave full screen"), Qt::Key_Escape,
         none},
        // the button bar's commands that come without a key
        {"stop", QT_TRANSLATE_NOOP("PlayerKeys", "Stop and close the lesson"), none, none},
        {"cancelLoop", QT_TRANSLATE_NOOP("PlayerKeys", "Loop the whole lesson"), none, none},
        {"showEditor", QT_TRANSLATE_NOOP("PlayerKeys", "Show or hide the editor"), none, none},
    };
    return table[command];
}

QString settingsKey(PlayerKeys::Command command)
{
    return QStringLiteral("keys/") + QLatin1String(info(command).id);
}

QKeySequence sequenceOf(QKeyCombination key)
{
    return key == none ? QKeySequence() : QKeySequence(key);
}

} // namespace

PlayerKeys::PlayerKeys()
{
    for (int c = 0; c < commandCount; ++c) {
        const CommandInfo &i = info(Command(c));
        keys_[size_t(c)] = {sequenceOf(i.main), sequenceOf(i.alternate)};
    }
}

QString PlayerKeys::label(Command command)
{
    return QCoreApplication::translate("PlayerKeys", info(command).label);
}

bool PlayerKeys::reachableFromEditor(Command command)
{
    return command != OpenLesson;
}

QList<QKeySequence> PlayerKeys::assigned(Command command) const
{
    QList<QKeySequence> keys;
    for (const QKeySequence &key : keys_[size_t(command)]) {
        if (!key.isEmpty())
            keys += key;
    }
    return keys;
}

void PlayerKeys::setKey(Command command, int slot, const QKeySequence &key)
{
    keys_[size_t(command)][size_t(slot)] = normalized(key);
}

std::optional<PlayerKeys::Command> PlayerKeys::commandOf(QKeyCombination key) const
{
    const QKeySequence wanted = normalized(QKeySequence(key));
    if (wanted.isEmpty())
        return std::nullopt;
    for (int c = 0; c < commandCount; ++c) {
        for (const QKeySequence &k : keys_[size_t(c)]) {
            if (k == wanted)
                return Command(c);
        }
    }
    return std::nullopt;
}

QKeySequence PlayerKeys::normalized(const QKeySequence &key)
{
    if (key.isEmpty() || key[0].key() == Qt::Key_unknown)
        return {};
    const QKeyCombination first = key[0];
    return QKeySequence(
        QKeyCombination(first.keyboardModifiers() & ~Qt::KeypadModifier, first.key()));
}

PlayerKeys PlayerKeys::load()
{
    const QSettings settings = playerSettings();
    const PlayerKeys defaults;
    // what stands in the file first, so a default never pushes out a stored choice
    std::array<bool, commandCount> stored{};
    PlayerKeys chosen;
    chosen.keys_.fill({});
    for (int c = 0; c < commandCount; ++c) {
        const QString key = settingsKey(Command(c));
        if (!settings.contains(key))
            continue;
        stored[size_t(c)] = true;
        const QStringList texts = settings.value(key).toStringList();
        for (int slot = 0; slot < keysPerCommand && slot < texts.size(); ++slot) {
            const QKeySequence k =
                normalized(QKeySequence::fromString(texts[slot], QKeySequence::PortableText));
            if (!k.isEmpty() && !chosen.commandOf(k[0]))
                chosen.keys_[size_t(c)][size_t(slot)] = k;
        }
    }
    for (int c = 0; c < commandCount; ++c) {
        if (stored[size_t(c)])
            continue;
        Keys &keys = chosen.keys_[size_t(c)];
        for (int slot = 0; slot < keysPerCommand; ++slot) {
            const QKeySequence &k = defaults.keys_[size_t(c)][size_t(slot)];
            if (!k.isEmpty() && !chosen.commandOf(k[0]))
                keys[size_t(slot)] = k;
        }
    }
    return chosen;
}

void PlayerKeys::save() const
{
    QSettings settings = playerSettings();
    for (int c = 0; c < commandCount; ++c) {
        QStringList texts;
        for (const QKeySequence &k : keys_[size_t(c)])
            texts += k.toString(QKeySequence::PortableText);
        settings.setValue(settingsKey(Command(c)), texts);
    }
}
