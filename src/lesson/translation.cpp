#include "lesson/translation.h"

#include <QFileInfo>

#include <algorithm>

namespace lesson {

int wordAt(const std::vector<TimedWord> &words, double seconds)
{
    const auto after = std::upper_bound(words.begin(), words.end(), seconds,
                                        [](double t, const TimedWord &w) { return t < w.start; });
    if (after == words.begin())
        return -1;
    const auto heard = std::prev(after);
    return seconds < heard->end ? int(heard - words.begin()) : -1;
}

QStringList translationsOf(const std::vector<Sentence> &sentences,
                           const std::vector<Sentence> &cues)
{
    std::vector<QStringList> parts(sentences.size());
    for (const Sentence &cue : cues) {
        if (cue.text.isEmpty())
            continue;
        double most = 0;
        size_t best = sentences.size();
        for (size_t i = 0; i < sentences.size(); ++i) {
            const Sentence &s = sentences[i];
            const double overlap = std::min(s.end, cue.end) - std::max(s.start, cue.start);
            const double shorter = std::min(s.end - s.start, cue.end - cue.start);
            if (overlap > most && overlap >= shorter / 3) {
                most = overlap;
                best = i;
            }
        }
        if (best < sentences.size())
            parts[best] += cue.text;
    }
    QStringList texts;
    texts.reserve(qsizetype(parts.size()));
    for (const QStringList &p : parts)
        texts += p.join(u' ');
    return texts;
}

QString languageTag(const QString &subtitleFile, const QString &mediaFile)
{
    const QString base = QFileInfo(mediaFile).completeBaseName() + u'.';
    const QString name = QFileInfo(subtitleFile).fileName();
    if (!name.startsWith(base))
        return {};
    const QString rest = name.mid(base.size());
    const qsizetype dot = rest.lastIndexOf(u'.');
    return dot > 0 ? rest.left(dot) : QString();
}

QString translationBeside(const QStringList &subtitleFiles, const QString &mediaFile,
                          const QString &sentenceFile, const QString &learnerLocale)
{
    const QString own = languageTag(sentenceFile, mediaFile);
    const QString language = learnerLocale.section(u'_', 0, 0);
    QString other;
    for (const QString &file : subtitleFiles) {
        const QString tag = languageTag(file, mediaFile);
        if (tag.isEmpty() || tag.compare(own, Qt::CaseInsensitive) == 0)
            continue;
        if (!language.isEmpty() && tag.startsWith(language, Qt::CaseInsensitive))
            return file;
        if (other.isEmpty())
            other = file;
    }
    return other;
}

} // namespace lesson
