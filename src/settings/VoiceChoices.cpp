#include "VoiceChoices.h"

#include "engine/ActivationFeedback.h"

#include <QLocale>

#include <algorithm>

namespace {

// "Language, territory" of a voice in the voice's own language, as far as it is known.
QString languageText(const QLocale& locale)
{
    const QString language = locale.nativeLanguageName();
    const QString territory = locale.nativeTerritoryName();
    if (!language.isEmpty() && !territory.isEmpty())
        return QStringLiteral("%1, %2").arg(language, territory);
    if (!language.isEmpty())
        return language;
    if (!territory.isEmpty())
        return territory;
    return locale.name();
}

QString voiceToolTip(const QVoice& voice)
{
    const QString language = languageText(voice.locale());
    if (language == voice.name())
        return voice.name();
    return voice.name() + QStringLiteral(" — ") + language;
}

bool isFemale(const QVoice& voice)
{
    return voice.gender() == QVoice::Female;
}

} // namespace

QList<VoiceChoices::Item> VoiceChoices::offered(const QList<QVoice>& voices)
{
    const bool femaleNamed = std::any_of(voices.begin(), voices.end(), isFemale);
    const QString text = femaleNamed ? tr("Женский %1") : tr("Голос %1");
    QList<Item> items;
    for (const QVoice& voice : voices) {
        if (femaleNamed && !isFemale(voice))
            continue;
        items.append({text.arg(items.size() + 1), ActivationFeedback::voiceKey(voice),
                      voiceToolTip(voice)});
    }
    return items;
}
