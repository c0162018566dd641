#pragma once

#include <QObject>

class QMediaPlayer;

// A media player with its own audio output that plays the short switch sound
// (":/sounds/switch.wav") by which hotkeys and activations are confirmed.
class SwitchSound : public QObject
{
    Q_OBJECT

public:
    explicit SwitchSound(QObject* parent = nullptr);
    ~SwitchSound() override;

    // Starts the sound, from its beginning when it is still playing; returns at once.
    void play();

signals:
    // The sound was started.
    void played();

private:
    QMediaPlayer* m_player;
};
