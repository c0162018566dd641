#include "ScenarioErrorNotice.h"

#include "OverlayNotice.h"
#include "engine/ScenarioFailures.h"

ScenarioErrorNotice::ScenarioErrorNotice(QObject* parent) : QObject(parent)
{
    connect(&ScenarioFailures::instance(), &ScenarioFailures::failed, this,
            [](const QString& scenario, int line) {
                OverlayNotice::instance().show(text(scenario, line), kNoticeMs);
            });
}

QString ScenarioErrorNotice::text(const QString& scenario, int line)
{
    return line > 0 ? tr("Ошибка в %1: строка %2").arg(scenario).arg(line)
                    : tr("Ошибка в %1").arg(scenario);
}
