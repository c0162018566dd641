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

void SwitchSound::play()
{
    if (m_player->playbackState() == QMediaPlayer::PlayingState)
        m_player->setPosition(0); // a quick second press restarts the click
    m_player->play();
    emit played();
}
