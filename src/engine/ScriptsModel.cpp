#include "ScriptsModel.h"

#include "ActivationFeedback.h"
#include "EngineState.h"
#include "OnEventCall.h"
#include "LuaApi.h"
#include "LuaChunk.h"
#include "LuaMemoryBound.h"
#include "LuaSandbox.h"
#include "LuaStateSetup.h"
#include "LuaTraceback.h"
#include "RunawayStop.h"
#include "ScriptData.h"
#include "core/AppProperties.h"
#include "hooks/QGlobalMouseHook.h"
#include "hotkeys/HotkeyCapture.h"
#include "input/InputSender.h"
#include "input/MovementModifiers.h"
#include "log/ScenarioScope.h"
#include "platform/FreedMemory.h"
#include "ui/prompts/Prompter.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QKeySequence>
#include <QLoggingCategory>
#include <QPointer>

#include <lua.hpp>

#include <exception>
#include <stdexcept>

namespace {

const QString kDefaultBorderColor = QStringLiteral("#F44336");

void publishScenarioModifiers(double xy, double x, double y, double rand)
{
    QCoreApplication* app = QCoreApplication::instance();
    app->setProperty(AppProperty::scenarioXY, xy);
    app->setProperty(AppProperty::scenarioX, x);
    app->setProperty(AppProperty::scenarioY, y);
    app->setProperty(AppProperty::scenarioRand, rand);
}

void setActivationResult(bool success)
{
    QCoreApplication::instance()->setProperty(AppProperty::scenarioActivationResult, success);
}

QString normalisedPath(const QString& path)
{
    const QFileInfo file(path);
    return file.exists() ? file.canonicalFilePath() : file.absoluteFilePath();
}

// The bound of the settings page, in bytes.
std::size_t configuredMemoryLimit()
{
    const QVariant mib = qApp->property(AppProperty::scriptMemoryLimitMiB);
    return static_cast<std::size_t>(
               clampScriptMemoryLimit(mib.isValid() ? mib.toInt() : kDefaultScriptMemoryLimitMiB)) *
           LuaMemoryBound::kMiB;
}

// Lua's own text for an allocation it could not make.
const QString kOutOfMemory = QStringLiteral("not enough memory");

} // namespace

ScriptsModel::ScriptsModel(QObject* parent, const QString& profileFolder, Library library)
    : QAbstractListModel(parent), m_memory(configuredMemoryLimit()), m_library(library),
      m_profileFolder(profileFolder)
{
    openState();
    addScript();

    // The physical mouse buttons, reported on the hook's thread.
    QGlobalMouseHook* hook = QGlobalMouseHook::acquire();
    connect(hook, &QGlobalMouseHook::leftMouseButtonEvent, this,
            &ScriptsModel::leftMouseButtonStateChanged, Qt::QueuedConnection);
    connect(hook, &QGlobalMouseHook::rightMouseButtonEvent, this,
            &ScriptsModel::rigthMouseButtonStateChanged, Qt::QueuedConnection);
    connect(hook, &QGlobalMouseHook::midMouseButtonEvent, this,
            &ScriptsModel::midMouseButtonStateChanged, Qt::QueuedConnection);
    connect(hook, &QGlobalMouseHook::xButton1Event, this, &ScriptsModel::xButton1StateChanged,
            Qt::QueuedConnection);
    connect(hook, &QGlobalMouseHook::xButton2Event, this, &ScriptsModel::xButton2StateChanged,
            Qt::QueuedConnection);
}

ScriptsModel::~ScriptsModel()
{
    QGlobalMouseHook::release(); // the hook keeps running for its other users
    qDeleteAll(m_scripts);
    m_scripts.clear();
    closeVirtualMouse();
    lua_close(m_luaState);
}

void ScriptsModel::openState()
{
    m_memory.reset();
    m_luaState = LuaStateSetup::open(m_memory, m_profileFolder, m_library == Library::Safe);
    m_stateLibrary = m_library;
}

void ScriptsModel::reopenState()
{
    const bool bounded = m_memory.reached();
    lua_close(m_luaState);
    // What a script took up to its bound goes back to the system, not only to the heap.
    if (bounded)
        platform::FreedMemory::giveBackToSystem();
    openState();
}

void ScriptsModel::setLibrary(Library library)
{
    m_library = library;
}

void ScriptsModel::setProfileFolder(const QString& profileFolder)
{
    m_profileFolder = profileFolder;
    const auto set = [](lua_State* L) {
        LuaSandbox::setProfileFolder(L, *static_cast<const QString*>(lua_touserdata(L, 1)));
        return 0;
    };
    if (lua_cpcall(m_luaState, set, const_cast<QString*>(&profileFolder)) != 0)
        lua_pop(m_luaState, 1); // out of memory: require keeps looking in the old folder
}

void ScriptsModel::executeLua(QString path)
{
    // The failure box of an activation runs a nested event loop in which hotkeys still
    // arrive: a scenario's hotkey held down would stack one box per repeat. While the box is
    // open, scenario hotkeys are taken without effect (and without the plain switch sound).
    if (m_showingFailure && !path.isEmpty()) {
        setActivationResult(false);
        return;
    }
    if (path.isEmpty()) {
        deactivateScript();
        return;
    }
    ScriptData* record = qobject_cast<ScriptData*>(sender());
    activate(path, record ? record : findScriptByPath(path));
}

int ScriptsModel::activeRow() const
{
    return m_activeScriptPath.isEmpty()
               ? -1
               : static_cast<int>(m_scripts.indexOf(m_activeRecord.data()));
}

void ScriptsModel::activateRow(int row)
{
    if (ScriptData* record = scriptAt(row); record && !m_showingFailure)
        activate(record->path, record);
}

void ScriptsModel::activate(const QString& path, ScriptData* record)
{
    ++m_activations;
    EngineState& engine = EngineState::instance();
    m_memory.setLimit(configuredMemoryLimit());

    if (engine.scenarioActive) {
        callOnEvent(LuaApi::kProfileDeactivated, m_activeScriptPath);
        engine.scenarioActive = false;
        engine.eventsEnabled = false;
    }
    // A changed library reaches the scenarios from their next activation on: the one that was
    // active has had its last event in the old state.
    if (m_stateLibrary != m_library)
        reopenState();

    if (!QFileInfo::exists(path)) {
        m_errorMessage = tr("Не найден lua файл - %1").arg(path);
        m_failures.report(path, m_errorMessage, {});
        failActivation(m_errorMessage);
        return;
    }
    if (!runScriptFile(path))
        return;

    if (record)
        publishScenarioModifiers(record->xy, record->x, record->y,
                                 MovementModifiers::jitterAmplitude(record->rand));

    engine.eventsEnabled = true;
    const RunEnd end = callOnEvent(LuaApi::kProfileActivated, path);
    if (end == RunEnd::OutOfMemory) {
        engine.eventsEnabled = false;
        publishScenarioModifiers(1.0, 1.0, 1.0, 0.0);
        m_errorMessage = tr("Ошибка - %1 в lua файле - %2").arg(kOutOfMemory, path);
        failActivation(m_errorMessage);
        return;
    }
    engine.scenarioActive = true;
    m_activeScriptPath = path;
    m_activeRecord = record;
    if (end == RunEnd::Stopped) {
        // The user stopped the scenario while it was being activated: it is left at once.
        deactivateScript();
        return;
    }
    if (end == RunEnd::Returned)
        m_failures.clear(path);
    ActivationFeedback::logActivation(path, profileName());
    emit sigActiveLuaChanged(QFileInfo(path).completeBaseName());
    setActivationResult(record != nullptr);
    if (record) {
        ActivationFeedback::playSwitchSound();
        ActivationFeedback::announceActivation(path);
    }
}

bool ScriptsModel::runScriptFile(const QString& path)
{
    QString hostFailure;
    if (!m_loadedFiles.contains(path))
        m_loadedFiles.append(path);
    QString error;
    bool stopped = false;
    bool hostFailed = false;
    QString traceback;
    try {
        {
            // The run ends before any box: the box's event loop may close this state.
            const ScenarioScope scope(scenarioName(path));
            const RunawayStop run(m_luaState);
            const int handler = LuaTraceback::pushHandler(m_luaState);
            int status = LuaChunk::loadFile(m_luaState, path,
                                            m_stateLibrary == Library::Safe
                                                ? LuaChunk::Chunks::TextOnly
                                                : LuaChunk::Chunks::TextOrBinary);
            if (status == 0)
                status = lua_pcall(m_luaState, 0, LUA_MULTRET, handler);
            stopped = run.stopped();
            if (status == 0 && !stopped && !m_memory.reached()) {
                lua_settop(m_luaState, 0); // the chunk's results are not used
                return true;
            }
            if (m_memory.reached())
                error = kOutOfMemory; // also when the script caught it and went on
            else
                error = status == 0 ? QString::fromUtf8(RunawayStop::kMessage) : errorText();
            traceback = LuaTraceback::take(m_luaState, m_loadedFiles);
        }
        m_errorMessage = tr("Ошибка - %1 в lua файле - %2").arg(error, path);
    } catch (const std::exception& failure) {
        hostFailure = QString::fromLocal8Bit(failure.what());
        hostFailed = true;
    } catch (...) {
        hostFailed = true;
    }
    lua_settop(m_luaState, 0);
    // What the script took is given back with its state before anyone is told.
    if (m_memory.reached())
        reopenState();
    if (stopped && !hostFailed) {
        // The user asked for it: a line in the log, no box.
        qCWarning(lcRunaway).noquote() << m_errorMessage;
        reportFailedActivation();
        return false;
    }
    if (hostFailed)
        m_errorMessage = hostFailure.isEmpty()
                             ? tr("Не удалось выполнить сценарий")
                             : tr("Не удалось выполнить сценарий: %1").arg(hostFailure);
    m_failures.report(path, m_errorMessage, traceback);
    failActivation(m_errorMessage);
    return false;
}

void ScriptsModel::failActivation(const QString& message)
{
    const QPointer<ScriptsModel> self(this);
    const quint64 activation = m_activations;
    m_showingFailure = true;
    Prompter::message(Prompt::Kind::Warning, nullptr, QStringLiteral("Clavitor"), message);
    if (!self)
        return;
    m_showingFailure = false;
    // Reported only when nothing else was activated or deactivated while the box was open:
    // the engine's state is no longer this failure's to tell.
    if (activation == m_activations)
        reportFailedActivation();
}

void ScriptsModel::reportFailedActivation()
{
    emit sigActiveLuaChanged(QString());
    setActivationResult(false);
}

void ScriptsModel::deactivateScript()
{
    ++m_activations;
    EngineState& engine = EngineState::instance();
    const bool wasActive = engine.scenarioActive;
    const QString name = QFileInfo(m_activeScriptPath).completeBaseName();

    publishScenarioModifiers(1.0, 1.0, 1.0, 0.0);
    if (wasActive) {
        callOnEvent(LuaApi::kProfileDeactivated, m_activeScriptPath);
        ActivationFeedback::logDeactivation(m_activeScriptPath, profileName());
        engine.scenarioActive = false;
        engine.eventsEnabled = false;
        m_activeScriptPath.clear();
        m_activeRecord = nullptr;
        emit sigActiveLuaChanged(QString());
    }
    setActivationResult(false);
    if (wasActive) {
        ActivationFeedback::playSwitchSound();
        ActivationFeedback::announceDeactivation(name);
    }
}

ScriptsModel::RunEnd ScriptsModel::callOnEvent(const char* event, const QString& path,
                                               std::optional<int> button)
{
    bool stopped = false;
    {
        const ScenarioScope scope(scenarioName(path));
        const RunawayStop run(m_luaState);
        const bool failed = OnEventCall::call(m_luaState, event, button) != 0;
        stopped = run.stopped();
        // A script that caught the stop or the bound and returned ends all the same.
        if (failed || stopped || m_memory.reached()) {
            const QString error = QStringLiteral("Ошибка Lua в OnEvent: ") +
                                  (failed    ? errorText()
                                   : stopped ? QString::fromUtf8(RunawayStop::kMessage)
                                             : kOutOfMemory);
            if (failed)
                lua_pop(m_luaState, 1);
            const QString traceback = LuaTraceback::take(m_luaState, m_loadedFiles);
            if (stopped)
                qCWarning(lcRunaway).noquote() << error;
            else
                m_failures.report(path, error, traceback);
        }
    }
    if (m_memory.reached()) {
        reopenState();
        return RunEnd::OutOfMemory;
    }
    return stopped ? RunEnd::Stopped : RunEnd::Returned;
}

void ScriptsModel::endOutOfMemory()
{
    // The scenario's state is gone with what it held: it ends without its last event.
    ++m_activations;
    EngineState& engine = EngineState::instance();
    engine.scenarioActive = false;
    engine.eventsEnabled = false;
    publishScenarioModifiers(1.0, 1.0, 1.0, 0.0);
    m_errorMessage = tr("Ошибка - %1 в lua файле - %2").arg(kOutOfMemory, m_activeScriptPath);
    m_activeScriptPath.clear();
    m_activeRecord = nullptr;
    emit sigActiveLuaChanged(QString());
    failActivation(m_errorMessage);
}

const QString& ScriptsModel::scenarioName(const QString& path)
{
    // Asked at every event: the name of the last file asked for is kept.
    if (path != m_namedPath) {
        m_namedPath = path;
        m_scenarioName = QFileInfo(path).completeBaseName();
    }
    return m_scenarioName;
}

QString ScriptsModel::profileName() const
{
    return QFileInfo(m_profileFolder).fileName();
}

QString ScriptsModel::errorText() const
{
    return LuaChunk::errorText(m_luaState, -1, m_loadedFiles);
}

void ScriptsModel::mouseButtonEvent(int button, bool pressed)
{
    // While a field captures a combination the script does not hear the buttons: neither a
    // press nor the release of a press it did not hear. A release of a press it heard still
    // comes, so that no button stays down for it.
    const int bit = 1 << button;
    if (pressed && HotkeyCapture::instance().isCapturing()) {
        m_unheardButtons |= bit;
        return;
    }
    if (!pressed && (m_unheardButtons & bit)) {
        m_unheardButtons &= ~bit;
        return;
    }
    switch (callOnEvent(pressed ? LuaApi::kMouseButtonPressed : LuaApi::kMouseButtonReleased,
                        m_activeScriptPath, button)) {
    case RunEnd::Returned:
        break;
    case RunEnd::Stopped:
        deactivateScript(); // the user stopped the scenario
        break;
    case RunEnd::OutOfMemory:
        endOutOfMemory();
        break;
    }
}

void ScriptsModel::leftMouseButtonStateChanged(bool state)
{
    const EngineState& engine = EngineState::instance();
    if (engine.primaryButtonEventsEnabled && engine.eventsEnabled)
        mouseButtonEvent(1, state);
}

void ScriptsModel::midMouseButtonStateChanged(bool state)
{
    if (EngineState::instance().eventsEnabled)
        mouseButtonEvent(2, state);
}

void ScriptsModel::rigthMouseButtonStateChanged(bool state)
{
    if (EngineState::instance().eventsEnabled)
        mouseButtonEvent(3, state);
}

void ScriptsModel::xButton1StateChanged(bool state)
{
    if (EngineState::instance().eventsEnabled)
        mouseButtonEvent(4, state);
}

void ScriptsModel::xButton2StateChanged(bool state)
{
    if (EngineState::instance().eventsEnabled)
        mouseButtonEvent(5, state);
}

void ScriptsModel::addScript()
{
    const int row = static_cast<int>(m_scripts.size());
    beginInsertRows(QModelIndex(), row, row);
    auto* record = new ScriptData(QString(), QString(), kDefaultBorderColor);
    connect(record, &ScriptData::doScritpt, this, &ScriptsModel::executeLua, Qt::DirectConnection);
    m_scripts.append(record);
    endInsertRows();
}

void ScriptsModel::removeScript(int row)
{
    if (row < 0 || row >= m_scripts.size())
        return;
    m_scripts.at(row)->unregisterHotkey();
    beginRemoveRows(QModelIndex(), row, row);
    ScriptData* record = m_scripts.takeAt(row);
    endRemoveRows();
    delete record;
}

bool ScriptsModel::registerHotkey(int row, QString* error)
{
    ScriptData* record = scriptAt(row);
    return record && record->registerHotkey(error);
}

void ScriptsModel::unregisterHotkey(int row)
{
    if (ScriptData* record = scriptAt(row))
        record->unregisterHotkey();
}

ScriptData* ScriptsModel::scriptAt(int row) const
{
    return row >= 0 && row < m_scripts.size() ? m_scripts.at(row) : nullptr;
}

ScriptData* ScriptsModel::findScriptByPath(const QString& path) const
{
    if (path.isEmpty())
        return nullptr;
    const QString wanted = normalisedPath(path);
    for (ScriptData* record : m_scripts) {
        if (normalisedPath(record->path) == wanted)
            return record;
    }
    return nullptr;
}

int ScriptsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_scripts.size());
}

QVariant ScriptsModel::data(const QModelIndex& index, int role) const
{
    const ScriptData* record = index.isValid() ? scriptAt(index.row()) : nullptr;
    if (!record)
        return {};
    switch (role) {
    case ScriptPathRole:
        return record->path;
    case ActivateCombinationRole:
        return record->hotkey;
    case ScriptBorderColorRole:
        return record->borderColor;
    default:
        return {};
    }
}

bool ScriptsModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    ScriptData* record = index.isValid() ? scriptAt(index.row()) : nullptr;
    if (!record)
        return false;
    switch (role) {
    case ScriptPathRole:
        record->path = value.toString();
        // A moved or replaced file of the active row is where the scenario now lives.
        if (record == m_activeRecord && !m_activeScriptPath.isEmpty())
            m_activeScriptPath = record->path;
        break;
    case ScriptBorderColorRole:
        record->borderColor = value.toString();
        break;
    case ActivateCombinationRole: {
        QKeySequence sequence;
        if (value.metaType().id() == QMetaType::QKeySequence)
            sequence = value.value<QKeySequence>();
        else if (value.metaType().id() == QMetaType::Int ||
                 value.metaType().id() == QMetaType::UInt)
            sequence = QKeySequence(value.toInt());
        else
            sequence = QKeySequence(value.toString());
        record->hotkey = sequence.toString(QKeySequence::PortableText);
        break;
    }
    default:
        return false;
    }
    emit dataChanged(index, index, {role});
    return true;
}

Qt::ItemFlags ScriptsModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return QAbstractListModel::flags(index) | Qt::ItemIsEditable;
}

QHash<int, QByteArray> ScriptsModel::roleNames() const
{
    return {
        {ScriptPathRole, "scriptpath"},
        {ActivateCombinationRole, "activatecombination"},
        {ScriptBorderColorRole, "script_border_color"},
    };
}
