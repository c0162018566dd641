#pragma once

#include <QList>
#include <QVoice>

// Where the settings page finds the voices it offers: its own speech engine, unless a source
// is installed in its place (tests offer voices of their choosing this way).
class VoiceSource
{
public:
    virtual ~VoiceSource() = default;
    virtual QList<QVoice> voices() const = 0;

    // The installed source; none means the page asks its speech engine.
    static VoiceSource* installed();
    // Installs a source the caller keeps alive; nullptr returns to the speech engine.
    static void install(VoiceSource* source);
};
