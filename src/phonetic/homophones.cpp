#include "phonetic/homophones.h"

#include "paths/apppaths.h"
#include "phonetic/phoneticdictionary.h"

#include <QFileInfo>

#include <algorithm>

Homophones::Homophones() = default;

Homophones::~Homophones() = default;

bool Homophones::alike(const QString &a, const QString &b)
{
    const std::vector<std::u32string> &first = soundsOf(a);
    const std::vector<std::u32string> &second = soundsOf(b);
    return std::any_of(first.begin(), first.end(), [&](const std::u32string &sounds) {
        return std::find(second.begin(), second.end(), sounds) != second.end();
    });
}

const std::vector<std::u32string> &Homophones::soundsOf(const QString &word)
{
    const auto known = sounds_.constFind(word);
    if (known != sounds_.constEnd())
        return *known;
    if (!opened_) {
        opened_ = true;
        // Opening would create an empty database where none is.
        if (QFileInfo::exists(AppPaths::wordDatabase()))
            dictionary_ = std::make_unique<PhoneticDictionary>();
    }
    return *sounds_.insert(word, dictionary_ ? dictionary_->soundsOfWord(word.toUtf8())
                                             : std::vector<std::u32string>());
}
