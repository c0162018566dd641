#include "ScriptsModel.h"

#include "ActivationFeedback.h"
#include "EngineState.h"
#include "LuaApi.h"
#include "LuaChunk.h"
#include "ScriptData.h"
#include "app/AppProperties.h"
#include "hooks/QGlobalMouseHook.h"
#include "input/InputSender.h"
#include "library/MovementModifiers.h"
#include "ui/shell/Prompter.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QKeySequence>
#include <QLoggingCategory>

#include <lua.hpp>

#include <exception>
#include <stdexcept>

Q_LOGGING_CATEGORY(lcEngine, "clavitor.engine")

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

} // namespace

ScriptsModel::ScriptsModel(QObject* parent) : QAbstractListModel(parent)
{
    m_luaState = luaL_newstate();
    if (!m_luaState)
        throw std::runtime_error("Не удалось инициализировать Lua");
    m_ownsLuaState = true;
    luaL_openlibs(m_luaState);
    addScript();
    LuaApi::registerAll(m_luaState);

    // The physical mouse buttons, reported on the hook's thread.
    QGlobalMouseHook* hook = QGlobalMouseHook::acquire();
    connect(hook, &QGlobalMouseHook::leftMouseButtonEvent, this,
            &ScriptsModel::leftMouseButtonStateChanged, Qt::QueuedConnection);
    connect(hook, &QGlobalMouseHook::rightMouseButtonEvent, this,
            &ScriptsModel::rigthMouseButtonStateChanged, Qt::QueuedConnection);
    connect(hook, &QGlobalMouseHook::midMouseButtonEvent, this,
            &ScriptsModel::midMouseButtonStateChanged, Qt::QueuedConnection);
}

ScriptsModel::~ScriptsModel()
{
    QGlobalMouseHook::release(); // the hook keeps running for its other users
    qDeleteAll(m_scripts);
    m_scripts.clear();
    closeVirtualMouse();
    if (m_ownsLuaState)
        lua_close(m_luaState);
}

void ScriptsModel::executeLua(const QString& path)
{
    if (path.isEmpty())
        deactivateScript();
    else
        activate(path);
}

void ScriptsModel::activate(const QString& path)
{
    EngineState& engine = EngineState::instance();
    ScriptData* record = qobject_cast<ScriptData*>(sender());
    if (!record)
        record = findScriptByPath(path);

    if (engine.scenarioActive) {
        callOnEvent("PROFILE_DEACTIVATED");
        engine.scenarioActive = false;
        engine.eventsEnabled = false;
    }

    if (!QFileInfo::exists(path)) {
        m_errorMessage = tr("Не найден lua файл - %1").arg(path);
        failActivation(m_errorMessage);
        return;
    }
    if (!runScriptFile(path))
        return;

    if (record)
        publishScenarioModifiers(record->xy, record->x, record->y,
                                 MovementModifiers::jitterAmplitude(record->rand));

    engine.eventsEnabled = true;
    callOnEvent("PROFILE_ACTIVATED");
    engine.scenarioActive = true;
    m_activeScriptPath = path;
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
    try {
        int status = LuaChunk::loadFile(m_luaState, path);
        if (status == 0)
            status = lua_pcall(m_luaState, 0, LUA_MULTRET, 0);
        if (status == 0) {
            lua_settop(m_luaState, 0); // the chunk's results are not used
            return true;
        }
        const QString error = LuaChunk::errorText(m_luaState, -1);
        lua_pop(m_luaState, 1);
        m_errorMessage = tr("Ошибка - %1 в lua файле - %2").arg(error, path);
        failActivation(m_errorMessage);
        return false;
    } catch (const std::exception& failure) {
        hostFailure = QString::fromLocal8Bit(failure.what());
    } catch (...) {
    }
    lua_settop(m_luaState, 0);
    failActivation(hostFailure.isEmpty() ? tr("Не удалось выполнить сценарий")
                                         : tr("Не удалось выполнить сценарий: %1").arg(hostFailure));
    return false;
}

void ScriptsModel::failActivation(const QString& message)
{
    Prompter::message(Prompt::Kind::Warning, nullptr, QStringLiteral("Clavitor"), message);
    emit sigActiveLuaChanged(QString());
    setActivationResult(false);
}

void ScriptsModel::deactivateScript()
{
    EngineState& engine = EngineState::instance();
    const bool wasActive = engine.scenarioActive;
    const QString name = QFileInfo(m_activeScriptPath).completeBaseName();

    publishScenarioModifiers(1.0, 1.0, 1.0, 0.0);
    if (wasActive) {
        callOnEvent("PROFILE_DEACTIVATED");
        engine.scenarioActive = false;
        engine.eventsEnabled = false;
        m_activeScriptPath.clear();
        emit sigActiveLuaChanged(QString());
    }
    setActivationResult(false);
    if (wasActive) {
        ActivationFeedback::playSwitchSound();
        ActivationFeedback::announceDeactivation(name);
    }
}

void ScriptsModel::callOnEvent(const char* event, std::optional<int> button)
{
    lua_getglobal(m_luaState, "OnEvent");
    lua_pushstring(m_luaState, event);
    if (button)
        lua_pushinteger(m_luaState, *button);
    else
        lua_pushnil(m_luaState);
    if (lua_pcall(m_luaState, 2, 0, 0) != 0) {
        qCWarning(lcEngine).noquote() << "Ошибка Lua в OnEvent:"
                                      << LuaChunk::errorText(m_luaState, -1);
        lua_pop(m_luaState, 1);
    }
}

void ScriptsModel::mouseButtonEvent(int button, bool pressed)
{
    callOnEvent(pressed ? "MOUSE_BUTTON_PRESSED" : "MOUSE_BUTTON_RELEASED", button);
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
