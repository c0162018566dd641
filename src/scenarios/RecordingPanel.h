#pragma once

#include "recorder/Recorder.h"
#include "recorder/Recording.h"

#include <QDateTime>
#include <QWidget>

#include <optional>

class PageDialogs;
class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;
class ScriptsListWidget;

// The macro recorder on the scenario tab. "Записать" counts down (on the tab and on the
// overlay), then records what the user does until "Стоп", the deactivation hotkey (stop()) or
// one of the recorder's limits, asks how the recording plays and saves it as a new scenario of
// the current profile: a file "Запись N.lua" in the profile's folder and a row without a
// hotkey. A recording is never lost without the user's word: cancelling the question asks
// first, and a write that fails offers to try again or to save under another name. The
// options choose whether movement is recorded and whether the recorded timing or a fixed
// delay separates the steps. While it counts down or records, activeChanged(true) lets the
// page keep every scenario inactive and the autoclicker locked.
class RecordingPanel : public QWidget
{
    Q_OBJECT

public:
    RecordingPanel(ScriptsListWidget& page, PageDialogs& dialogs);

    // Counting down or recording.
    bool isActive() const { return m_recorder.isCountingDown() || m_recorder.isRecording(); }
    // Ends the countdown or the recording, as the deactivation hotkey does; a recording is
    // then saved.
    void stop();

signals:
    // true as the countdown begins, false as the recording (or the countdown) ends, before
    // the recording is saved.
    void activeChanged(bool active);

protected:
    void changeEvent(QEvent* event) override;

private:
    void start();
    // The page's "Стоп": its own click is no part of the recording.
    void stopByButton();
    void finish(Recording recording, const QString& why = {});
    void save(const Recording& recording);
    // After a failed write: where to try again, or nothing once the user let the recording go.
    std::optional<QString> askWhereToSave(const QString& path, const QString& error);
    void showState(const QString& text);
    void updateControls();
    void retranslate();

    ScriptsListWidget& m_page;
    PageDialogs& m_dialogs;
    Recorder m_recorder;
    QDateTime m_startedAt;
    QPushButton* m_record;
    QPushButton* m_stop;
    QLabel* m_state;
    QCheckBox* m_movement;
    QCheckBox* m_fixedDelay;
    QSpinBox* m_delay;
};
