#pragma once

#include "editor/ScriptEditors.h"

#include <QString>

class PageDialogs;
struct ScenarioProfile;
class ScriptsListWidget;
class ScriptsModel;
class SingleScriptWidget;

// The commands of the scenario rows of the page: add a scenario, choose or import its file,
// export it, edit it, its modifiers, duplicate, delete, change its hotkey. Each keeps row i of the list,
// row i of the scenario model and scenario i of the current profile in step, saves the profile
// list and shows the change on the overlay.
class ScenarioRowCommands
{
public:
    ScenarioRowCommands(ScriptsListWidget& page, PageDialogs& dialogs);

    void add();
    // A new row for the file, which lies in the profile's folder, without a hotkey.
    void addFile(const QString& path);
    // The row's file button: the file chosen is used in place inside the profile's folder,
    // else copied in. The page is busy while the dialog is open.
    void chooseFile(SingleScriptWidget* row);
    void importInto(SingleScriptWidget* row);
    void exportFrom(SingleScriptWidget* row);
    void configure(SingleScriptWidget* row);
    void duplicate(SingleScriptWidget* row);
    void remove(SingleScriptWidget* row);
    void changeHotkey(const QString& combination, SingleScriptWidget* row);
    // Opens the row's file in its editor window, with the row's modifiers for the preview.
    void edit(SingleScriptWidget* row);
    ScriptEditors& editors() { return m_editors; }

private:
    ScriptsModel& model() const;
    void append(const QString& path);
    ScenarioProfile& profile() const;
    void setScenarioPath(int i, const QString& path);
    void restoreHotkey(int i, const QString& portableText);
    void clearHotkey(int i);
    // Copies a chosen script into the profile's folder (unless it lies there, or always with
    // `copyAlways`) and makes it the file of scenario i; false when the copy failed. Another
    // scenario's file of the same name is kept: the copy then takes a free name.
    bool adoptScript(int i, const QString& chosen, bool copyAlways);

    // A file written by its editor takes effect at once when its scenario is the active one:
    // the scenario is activated again, as its hotkey would. Other files touch nothing that
    // runs.
    void activateAgainIfActive(const QString& path);

    ScriptsListWidget& m_page;
    PageDialogs& m_dialogs;
    ScriptEditors m_editors;
};
