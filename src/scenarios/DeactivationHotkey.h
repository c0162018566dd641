#pragma once

#include "hotkeys/QGlobalShortcut.h"

#include <QKeySequence>
#include <QObject>
#include <QString>

class QWidget;

// The system-wide hotkey that deactivates the active scenario: held in the shortcut registry
// as "отключение сценария", stored in the settings as deactivationHotkey, shown on the overlay.
// It reacts only while enabled, which the page keeps in step with "a scenario is active".
class DeactivationHotkey : public QObject
{
    Q_OBJECT

public:
    explicit DeactivationHotkey(QObject* parent = nullptr);

    // The combination of the settings, applied without telling the user of a failure; its
    // native text, for the page's field.
    QString applyStored();
    // A combination the user entered (native text): applied with the failures reported in
    // boxes over `parent`, and stored in the settings when it took. An empty text gives the
    // hotkey up. False, keeping the combination held before, when it did not take.
    bool change(const QString& nativeText, QWidget* parent);

    // The combination held now.
    QKeySequence sequence() const { return m_shortcut.keySequence(); }
    void setEnabled(bool enabled) { m_shortcut.setEnabled(enabled); }

signals:
    void activated();

private:
    bool apply(const QKeySequence& sequence, QWidget* reportParent);

    QGlobalShortcut m_shortcut;
};
