#pragma once

#include "LuaMemoryBound.h"
#include "ScenarioFailures.h"

#include <QAbstractListModel>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <optional>

struct lua_State;
class ScriptData;

// The scenarios of the current profile, one row each, and the one Lua state in which
// every scenario of the profile runs. At most one scenario is active: it hears
// "PROFILE_ACTIVATED", then the mouse-button events, then "PROFILE_DEACTIVATED".
// The state's memory is bounded (the settings' limit, read at each activation): a script that
// reaches the bound ends with Lua's "not enough memory" shown, and the state is made anew, so
// that what it held is given back.
class ScriptsModel : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(QString errorMessage READ errorMessage)

public:
    enum Roles {
        ScriptPathRole = Qt::UserRole + 1,
        ActivateCombinationRole,
        ScriptBorderColorRole,
    };

    // The Lua library the scenarios get: the safe one (LuaSandbox), or the whole standard
    // library, for a profile the user trusts.
    enum class Library { Safe, Full };
    static Library libraryFor(bool trusted) { return trusted ? Library::Full : Library::Safe; }

    // Creates the Lua state; throws std::runtime_error when it cannot be created.
    // profileFolder holds the profile's scenarios: require finds the modules of the safe
    // library there.
    explicit ScriptsModel(QObject* parent = nullptr, const QString& profileFolder = QString(),
                          Library library = Library::Safe);
    ~ScriptsModel() override;

signals:
    // The active scenario changed: the file's complete base name, or empty for none.
    void sigActiveLuaChanged(const QString& name);

public slots:
    // Activates the scenario of the file at path; an empty path deactivates. The path is
    // taken by value: the caller's string may belong to a row that goes away meanwhile.
    void executeLua(QString path);
    void deactivateScript();
    void leftMouseButtonStateChanged(bool state);
    void rigthMouseButtonStateChanged(bool state);
    void midMouseButtonStateChanged(bool state);
    // The side buttons: back (X1, button 4) and forward (X2, button 5).
    void xButton1StateChanged(bool state);
    void xButton2StateChanged(bool state);

public:
    void addScript();
    void removeScript(int row);
    // Registers the row's hotkey as ScriptData::registerHotkey does; false out of range.
    bool registerHotkey(int row, QString* error = nullptr);
    void unregisterHotkey(int row);
    ScriptData* scriptAt(int row) const;
    ScriptData* findScriptByPath(const QString& path) const;
    QString activeScriptPath() const { return m_activeScriptPath; }
    // The row of the active scenario, or -1 when none is active or its row was removed.
    int activeRow() const;
    // Activates the scenario of the row from its current file, with the row's own modifiers
    // (two rows may share a file).
    void activateRow(int row);
    QString errorMessage() const { return m_errorMessage; }
    // The profile's folder moved (it was renamed): require looks there from now on.
    void setProfileFolder(const QString& profileFolder);
    // The library of the scenarios activated from now on; the active one keeps its own.
    void setLibrary(Library library);
    lua_State* luaState() const { return m_luaState; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    // How a run of the script's code ended.
    enum class RunEnd { Returned, Stopped, OutOfMemory };

    // Makes the Lua state with the current library; throws std::runtime_error when it cannot.
    void openState();
    // Closes the state, with everything the scripts left in it, and makes it anew.
    void reopenState();
    void activate(const QString& path, ScriptData* record);
    bool runScriptFile(const QString& path);
    void failActivation(const QString& message);
    void reportFailedActivation();
    // Calls the script's OnEvent. The state is made anew when the call reached the memory
    // bound.
    RunEnd callOnEvent(const char* event, const QString& path,
                       std::optional<int> button = std::nullopt);
    // The active scenario reached the memory bound in OnEvent: it ends, and the user is told.
    void endOutOfMemory();
    void mouseButtonEvent(int button, bool pressed);
    QString errorText() const;
    // The scenario's name (its file's complete base name) for the journal.
    const QString& scenarioName(const QString& path);
    // The profile's name, the name of its folder.
    QString profileName() const;

    QList<ScriptData*> m_scripts;
    LuaMemoryBound m_memory;
    ScenarioFailures& m_failures = ScenarioFailures::instance();
    lua_State* m_luaState = nullptr;
    Library m_library;      // what the user chose
    Library m_stateLibrary; // what the state was made with
    QString m_profileFolder;
    QString m_errorMessage;
    QString m_activeScriptPath;
    QPointer<ScriptData> m_activeRecord; // the row activated, when one was
    QString m_namedPath;    // the file scenarioName was last asked for
    QString m_scenarioName; // and its name
    QStringList m_loadedFiles; // every file run in the state, to read error texts that name them
    bool m_showingFailure = false; // an activation failure box is open
    quint64 m_activations = 0;     // activations and deactivations begun so far
    int m_unheardButtons = 0;      // bit 1 << button: a press kept from the script
};
