#pragma once

#include <QString>
#include <QStringView>

namespace align {

// The recogniser's phones (its 39 base phones, space-separated) for a word the speech
// synthesizer has written in IPA; empty when a sign of it has no phone, so the caller never
// gets a pronunciation that is only partly right. Stress and length marks are dropped. A
// pure function; safe on any thread.
QString recogniserPhones(QStringView ipa);

// The synthesizer's pronunciation of one word in the recogniser's phones; empty when the
// synthesizer gives none or gives signs without a phone. Safe on any thread: the
// synthesizer serialises its callers.
QString synthesizedPhones(const QString &word);

} // namespace align
