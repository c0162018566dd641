#include "ScriptData.h"

#include <QFileInfo>

ScriptData::ScriptData(const QString& path, const QString& hotkey, const QString& borderColor)
    : path(path), hotkey(hotkey), borderColor(borderColor)
{
}

QString ScriptData::ownerDescription() const
{
    const QFileInfo file(path);
    QString name = file.completeBaseName();
    if (name.isEmpty())
        name = file.fileName();
    if (name.isEmpty())
        return tr("Сценарий");
    return tr("сценарий \"%1\"").arg(name);
}

void ScriptData::scriptSlot()
{
    emit doScritpt(path);
}
