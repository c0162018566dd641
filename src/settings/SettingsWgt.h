#pragma once

#include "core/AppSettings.h"
#include "overlay/OverlayPalette.h"

#include <QKeySequence>
#include <QList>
#include <QPoint>
#include <QString>
#include <QVoice>
#include <QWidget>

#include <memory>

class DriverInstaller;
class QComboBox;
class QTextToSpeech;

namespace Ui {
class SettingsWgt;
}

// The page "Настройки": activation sound, speech with its voice and rate, the control mode
// (with the driver's installer when the driver is missing), the movement modifiers of both
// control modes, and the overlay's settings and hotkey. Most controls act at once through
// the application properties or the overlay; the settings file is written by Save, by Reset,
// by a new overlay hotkey and when the page is destroyed.
class SettingsWgt : public QWidget
{
    Q_OBJECT

public:
    explicit SettingsWgt(QWidget* parent = nullptr);
    // Ends the overlay's positioning and writes the form to the settings file, whether or
    // not it was saved: leaving the program keeps what the page shows.
    ~SettingsWgt() override;

public slots:
    void slotOnClick(bool on);
    void slotModeChanged();
    void slotSpeechToggled(bool enabled);
    void slotVoiceChanged(int index);
    void slotRateSpinChanged(double value);
    void on_pushButtonSave_clicked();
    void on_pushButtonReset_clicked();
    void on_resetSystemAPImod_clicked();
    void on_resetDriverMod_clicked();
    void onSettingChanged();
    void onOverlayAnchorChanged(int index);
    void onOverlaySettingsChanged();
    void onOverlayMoveButtonClicked();
    void onOverlayPositionChanged(QPoint position);
    void onOverlayEnabledChanged(bool enabled);

protected:
    void changeEvent(QEvent* event) override;

private:
    void connectGeneralAndModifiers();
    void prepareOverlayControls();
    void showStoredSettings(const AppSettings& settings);
    void setDirty(bool dirty);
    // The record on the application object, its overlay block and hotkey on the overlay.
    void publishSettings(const AppSettings& settings);

    // Voices.
    void enableVoiceControls(bool speech);
    QList<QVoice> availableVoices() const;
    void fillVoiceList();
    void selectVoice(const QString& key);
    QString selectedVoiceKey() const;
    void publishVoiceAndRate();

    // Overlay.
    void fillAnchorCombo();
    void fillColorCombo(QComboBox* combo, const QList<OverlayColorPreset>& palette,
                        const QColor& selected);
    void fillOverlayControls(const OverlaySettings& overlay, const QString& hotkey);
    void showOverlayBlock(const OverlaySettings& overlay);
    OverlaySettings overlayFromForm() const;
    void refreshMoveButton();
    void refreshPositionLabel();
    void onOverlayHotkeyEdited(const QString& text);
    // Registers the sequence as the overlay's hotkey and shows it; when it is refused, tells
    // the user and changes nothing.
    bool assignOverlayHotkey(const QKeySequence& sequence);
    void showOverlayHotkey(const QString& text);

    AppSettings settingsFromForm() const;
    void retranslate();
    // Disables the driver mode, with a tooltip saying why, on a system the driver is not
    // made for (unless a driver device is there all the same).
    void offerDriverWhereItExists();
    // The choice to run as administrator, where the system keeps elevated programs apart.
    void offerElevatedStart();

    std::unique_ptr<Ui::SettingsWgt> ui;
    QTextToSpeech* m_speech = nullptr; // lists the voices
    DriverInstaller* m_driverInstaller;
    QList<OverlayColorPreset> m_backgroundPalette;
    QList<OverlayColorPreset> m_textPalette;
    bool m_dirty = false;
    bool m_filling = false;      // the overlay controls are being filled from stored values
    bool m_changingMode = false; // a control-mode change is under way
    // The stored voice, kept while the engine offers no voice to choose.
    QString m_storedVoice;
    QPoint m_customPosition;
    QString m_overlayHotkey; // portable text
};
