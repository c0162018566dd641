#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QVoice>

// The voices the settings page offers for speaking scenario names, in the engine's order:
// the female ones, or every voice when the engine names none as female (some engines give
// no voice a gender, and speech would otherwise be out of reach there). Each comes with the
// text, the key and the tooltip of its item.
class VoiceChoices
{
    Q_DECLARE_TR_FUNCTIONS(VoiceChoices)

public:
    struct Item
    {
        QString text;    // "Женский 2", or "Голос 2" among voices of no named gender
        QString key;     // the voice key the settings store
        QString toolTip; // the voice's name and its language
    };

    static QList<Item> offered(const QList<QVoice>& voices);
};
