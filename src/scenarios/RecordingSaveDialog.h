#pragma once

#include "recorder/PlaybackTrigger.h"

#include <QDialog>
#include <QSet>

class QComboBox;
class QLabel;
class QRadioButton;

// Asks how a recording just made plays: once as its scenario is activated (the default), on
// every press of a chosen mouse button, or again and again while that button is held. When
// the chosen button was pressed within the recording itself, the dialog says so: the playback
// presses and lets go of that button too, which disturbs a trigger that waits for it.
class RecordingSaveDialog : public QDialog
{
    Q_OBJECT

public:
    // recordedButtons: the mouse buttons (1 to 5) pressed within the recording.
    explicit RecordingSaveDialog(const QSet<int>& recordedButtons, QWidget* parent = nullptr);

    PlaybackTrigger trigger() const;
    void setTrigger(const PlaybackTrigger& trigger);

private:
    void updateControls();

    QSet<int> m_recordedButtons;
    QRadioButton* m_onActivation;
    QRadioButton* m_onPress;
    QRadioButton* m_whileHeld;
    QComboBox* m_button;
    QLabel* m_warning;
};
