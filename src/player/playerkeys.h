#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

#include <array>
#include <optional>

// The player's commands that keys run, and each command's keys: a main key and an
// alternate one, each a single key combination or none. Holds the defaults, reads and
// writes the learner's choices in the player's settings, and finds the command of a key.
// Plain data; the settings are read and written on the GUI thread.
class PlayerKeys
{
public:
    enum Command
    {
        NudgeMarkInEarlier,
        NudgeMarkInLater,
        NudgeMarkOutEarlier,
        NudgeMarkOutLater,
        PlayPause,
        PreviousStretch,
        MarkInHere,
        MarkOutHere,
        NextStretch,
        Slower,
        Faster,
        NormalSpeed,
        LoopSentence,
        SkipBack,
        SkipForward,
        DrillOnOff,
        DrillAgain,
        DrillNext,
        DrillHint,
        DrillReveal,
        DrillTranslation,
        CheckSentence,
        CheckTranscript,
        Review,
        OpenLesson,
        LeaveFullScreen,
        Stop,
        CancelLoop,
        ShowEditor,
    };
    static constexpr int commandCount = ShowEditor + 1;
    static constexpr int keysPerCommand = 2;
    using Keys = std::array<QKeySequence, keysPerCommand>;

    // The keys the program comes with.
    PlayerKeys();

    // What the learner reads for a command, translated.
    static QString label(Command command);
    // Whether the editor hands the command's keys over to the player. Opening a lesson is
    // the player's own: the editor's Ctrl+O opens a document.
    static bool reachableFromEditor(Command command);

    const Keys &keys(Command command) const { return keys_[size_t(command)]; }
    // The keys a command has, main key first, without the empty ones.
    QList<QKeySequence> assigned(Command command) const;
    // Sets one of a command's keys (an empty sequence removes it). The caller has made sure
    // no other command has it (commandOf).
    void setKey(Command command, int slot, const QKeySequence &key);
    // The command a key runs, if any. Keypad keys count as the keys they repeat.
    std::optional<Command> commandOf(QKeyCombination key) const;
    // The key as the table keeps it: one combination, without the keypad's flag.
    static QKeySequence normalized(const QKeySequence &key);

    // The learner's keys from the player's settings; a command with nothing stored keeps its
    // defaults, and a stored key that another command already has is dropped.
    static PlayerKeys load();
    void save() const;

    friend bool operator==(const PlayerKeys &, const PlayerKeys &) = default;

private:
    std::array<Keys, commandCount> keys_;
};
