#pragma once

#include "PreviewPath.h"
#include "PreviewResult.h"
#include "input/MovementModifiers.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class PreviewClient;
class PreviewPlot;
class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// Shows what a scenario's text would do before it runs: the text is run ahead of time in the
// preview process, under a timeline of the mouse buttons the user picks, and the pointer's
// way, the clicks and key presses, the run's length in virtual time, how it ended and the
// script's log lines are shown. A previous run can be laid under the new one, and the plot
// saved as a PNG image.
class PreviewWindow : public QWidget
{
    Q_OBJECT

public:
    // program: the executable of the preview process; empty, the running program's own.
    explicit PreviewWindow(QWidget* parent = nullptr, const QString& program = QString());

    // Runs the text with the timeline chosen now, and shows the window.
    void run(const QString& scenarioName, const QString& scriptText,
             const MovementModifiers& rowModifiers);

    // Where "Запустить снова" takes the text from (the editor's text as it stands then); without
    // one it runs the text of the last run again.
    void setScriptSource(std::function<QString()> source) { m_source = std::move(source); }

signals:
    // A run ended and its result is shown (tests, and whoever waits for it).
    void resultShown();

protected:
    void changeEvent(QEvent* event) override;

private:
    void runAgain();
    void showResult(const PreviewResult& result);
    void updatePlot();
    void exportPng();
    void retranslate();

    PreviewClient* m_client;
    QComboBox* m_timeline;
    QCheckBox* m_capsLock;
    QPushButton* m_runAgain;
    QCheckBox* m_overlay;
    QPushButton* m_exportPng;
    PreviewPlot* m_plot;
    QLabel* m_summary;
    QLabel* m_message;
    QPlainTextEdit* m_log;

    QString m_scenarioName;
    QString m_scriptText;
    std::function<QString()> m_source;
    MovementModifiers m_modifiers;
    std::optional<PreviewResult> m_result;
    std::optional<PreviewResult> m_previous;
    bool m_running = false;
};
