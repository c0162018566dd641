#include "ScenarioOverlayEntries.h"

#include "HotkeyText.h"
#include "engine/ScriptData.h"
#include "engine/ScriptsModel.h"
#include "profiles/ScenarioProfile.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

QString displayName(const QString& file, int i)
{
    const QFileInfo info(file);
    if (!info.completeBaseName().isEmpty())
        return info.completeBaseName();
    if (!info.fileName().isEmpty())
        return info.fileName();
    return QCoreApplication::translate("ScriptsListWidget", "Сценарий %1").arg(i + 1);
}

} // namespace

QList<OverlayScenarioEntry> scenarioOverlayEntries(const ScenarioProfile& profile,
                                                   const ScriptsModel& model)
{
    QList<OverlayScenarioEntry> entries;
    for (int i = 0; i < profile.scenarios.size(); ++i) {
        const ProfileScenario& scenario = profile.scenarios[i];
        const bool heldElsewhere = i < model.rowCount() && model.scriptAt(i)->hotkeyState == 1;
        entries.append({displayName(scenario.file, i),
                        scenario.hotkey.trimmed().isEmpty() ? QString()
                        : heldElsewhere                     ? QStringLiteral("—")
                                                            : HotkeyText::shown(scenario.hotkey),
                        !scenario.file.isEmpty()});
    }
    return entries;
}
