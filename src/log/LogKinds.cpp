#include "LogKinds.h"

#include <QCoreApplication>

#include <cstring>

namespace {

struct KindRow
{
    LogKind kind;
    const char* category; // the category that feeds it; nullptr for Program
    const char* token;
    const char* title;
};

// The page's order. The categories are the ones the rooms log under.
const KindRow kKinds[] = {
    {LogKind::Activation, "clavitor.scenario", "activation",
     QT_TRANSLATE_NOOP("LogKinds", "Активация")},
    {LogKind::Script, "clavitor.script", "script", QT_TRANSLATE_NOOP("LogKinds", "Сценарий")},
    {LogKind::Error, "clavitor.engine", "error", QT_TRANSLATE_NOOP("LogKinds", "Ошибка")},
    {LogKind::RunawayStop, "clavitor.runaway", "runaway",
     QT_TRANSLATE_NOOP("LogKinds", "Остановка")},
    {LogKind::Hotkey, "clavitor.hotkeys", "hotkey",
     QT_TRANSLATE_NOOP("LogKinds", "Горячая клавиша")},
    {LogKind::Following, "clavitor.following", "following",
     QT_TRANSLATE_NOOP("LogKinds", "Слежение")},
    {LogKind::Autoclicker, "clavitor.autoclicker", "autoclicker",
     QT_TRANSLATE_NOOP("LogKinds", "Автокликер")},
    {LogKind::Import, "clavitor.import", "import", QT_TRANSLATE_NOOP("LogKinds", "Импорт")},
    {LogKind::Program, nullptr, "program", QT_TRANSLATE_NOOP("LogKinds", "Программа")},
};

const KindRow& rowOf(LogKind kind)
{
    for (const KindRow& row : kKinds)
        if (row.kind == kind)
            return row;
    return kKinds[std::size(kKinds) - 1];
}

} // namespace

const QList<LogKind>& LogKinds::all()
{
    static const QList<LogKind> kinds = [] {
        QList<LogKind> list;
        for (const KindRow& row : kKinds)
            list.append(row.kind);
        return list;
    }();
    return kinds;
}

std::optional<LogKind> LogKinds::kindOf(const char* category, QtMsgType type)
{
    if (!category || std::strncmp(category, "clavitor.", 9) != 0)
        return std::nullopt;
    if (std::strcmp(category, "clavitor.input") == 0)
        return std::nullopt;
    for (const KindRow& row : kKinds)
        if (row.category && std::strcmp(category, row.category) == 0)
            return row.kind;
    return type == QtDebugMsg ? std::nullopt : std::optional<LogKind>(LogKind::Program);
}

QString LogKinds::title(LogKind kind)
{
    return QCoreApplication::translate("LogKinds", rowOf(kind).title);
}

QLatin1StringView LogKinds::token(LogKind kind)
{
    return QLatin1StringView(rowOf(kind).token);
}
