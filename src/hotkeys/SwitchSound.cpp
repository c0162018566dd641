#include "SwitchSound.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QUrl>

SwitchSound::SwitchSound(QObject* parent) : QObject(parent), m_player(new QMediaPlayer(this))
{
    m_player->setAudioOutput(new QAudioOutput(m_player));
    // Set once: giving a player its source again while it plays stops it first, and with
    // GStreamer that blocks the calling thread for up to a second.
    m_player->setSource(QUrl(QStringLiteral("qrc:/sounds/switch.wav")));
}

SwitchSound::~SwitchSound()
{
    // The toolkit's GStreamer player may crash when it is destroyed with its stream loaded
    // (the decoder's pads go while the player is half destroyed, typically at exit): it is
    // stopped and emptied first.
    m_player->stop();
    m_player->setSource(QUrl());
}

void SwitchSound::play()
{
    if (m_player->playbackState() == QMediaPlayer::PlayingState)
        m_player->setPosition(0); // a quick second press restarts the click
    m_player->play();
    emit played();
}
