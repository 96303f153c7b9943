#pragma once

#include <QHash>
#include <QString>

#include <memory>
#include <string>
#include <vector>

class PhoneticDictionary;

// Tells whether two words sound the same by the dictionary: some pronunciation of one has the
// sounds of some pronunciation of the other, stress and length marks left out. Opens a
// dictionary connection of its own on first use (none when the dictionary file is missing) and
// keeps each word's sounds once looked up. GUI thread only.
class Homophones final
{
public:
    Homophones();
    ~Homophones();
    Homophones(const Homophones &) = delete;
    Homophones &operator=(const Homophones &) = delete;

    // Both words lower case; a word the dictionary lacks sounds like no other.
    bool alike(const QString &a, const QString &b);

private:
    const std::vector<std::u32string> &soundsOf(const QString &word);

    std::unique_ptr<PhoneticDictionary> dictionary_;
    bool opened_ = false;
    QHash<QString, std::vector<std::u32string>> sounds_;
};
