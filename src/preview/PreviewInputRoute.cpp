#include "PreviewInputRoute.h"

#include "core/AppProperties.h"

#include <QCoreApplication>

PreviewInputRoute::PreviewInputRoute(const MovementModifiers& scenario)
{
    set(AppProperty::controlMode, 0);
    for (const char* factor : {AppProperty::systemApiXY, AppProperty::systemApiX,
                               AppProperty::systemApiY, AppProperty::profileXY,
                               AppProperty::profileX, AppProperty::profileY})
        set(factor, 1.0);
    set(AppProperty::profileRand, 0.0);
    set(AppProperty::scenarioXY, scenario.xy);
    set(AppProperty::scenarioX, scenario.x);
    set(AppProperty::scenarioY, scenario.y);
    set(AppProperty::scenarioRand, MovementModifiers::jitterAmplitude(scenario.rand));
}

PreviewInputRoute::~PreviewInputRoute()
{
    // In reverse, so that a name set twice ends with its first value.
    QCoreApplication* app = QCoreApplication::instance();
    for (auto it = m_saved.crbegin(); it != m_saved.crend(); ++it)
        app->setProperty(it->first.constData(), it->second);
}

void PreviewInputRoute::set(const char* name, const QVariant& value)
{
    QCoreApplication* app = QCoreApplication::instance();
    m_saved.append({QByteArray(name), app->property(name)});
    app->setProperty(name, value);
}
