#pragma once

#include <QString>

class QTextToSpeech;
class QVariant;
class QVoice;
class SwitchSound;

// How the program confirms that a scenario was activated or deactivated: the switch sound
// and the scenario's name read out by the text-to-speech engine. The settings are read from
// the application properties at every call, so a change applies to the next announcement.
// The player and the engine are created on first use and live as long as the application.
namespace ActivationFeedback {

// Plays the switch sound on the engine's player when sound is on.
void playSwitchSound();
// The engine's player.
SwitchSound* switchSound();

// The speech engine with the configured voice and rate, or none while speech is off.
QTextToSpeech* speechEngine();
// Stops what the engine is saying and says text (trimmed); nothing for an empty text or
// while speech is off.
void speak(const QString& text);
// "locale|name|gender|age", the form in which the settings keep the chosen voice.
QString voiceKey(const QVoice& voice);
// The engine's rate (-1.0 … 1.0) for the speed setting 1 … 2; 0.65 when none is set.
double speechRate(const QVariant& setting);

// Speaks the scenario's name, the complete base name of its file.
void announceActivation(const QString& path);
// Speaks that the scenario named name (or an unnamed one) was disabled.
void announceDeactivation(const QString& name);

// The journal's lines of an activation and a deactivation of the scenario in the file at
// path, of the profile named.
void logActivation(const QString& path, const QString& profile);
void logDeactivation(const QString& path, const QString& profile);

} // namespace ActivationFeedback
