#include "InputProperties.h"

#include "core/AppProperties.h"

#include <QCoreApplication>
#include <QDynamicPropertyChangeEvent>
#include <QVariant>

#include <cmath>

namespace {

double numberOr(const char* name, double fallback)
{
    bool ok = false;
    const double value = QCoreApplication::instance()->property(name).toDouble(&ok);
    return ok && std::isfinite(value) ? value : fallback;
}

} // namespace

InputProperties::InputProperties()
{
    QCoreApplication* app = QCoreApplication::instance();
    for (const QByteArray& name : app->dynamicPropertyNames())
        refresh(name);
    app->installEventFilter(this);
}

bool InputProperties::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::DynamicPropertyChange && watched == QCoreApplication::instance())
        refresh(static_cast<QDynamicPropertyChangeEvent*>(event)->propertyName());
    return false;
}

void InputProperties::refresh(const QByteArray& name)
{
    struct Slot
    {
        const char* name;
        double* value;
        double fallback;
    };
    const Slot watched[] = {
        {AppProperty::systemApiXY, &m_systemApi.xy, 1.0},
        {AppProperty::systemApiX, &m_systemApi.x, 1.0},
        {AppProperty::systemApiY, &m_systemApi.y, 1.0},
        {AppProperty::driverXY, &m_driver.xy, 1.0},
        {AppProperty::driverX, &m_driver.x, 1.0},
        {AppProperty::driverY, &m_driver.y, 1.0},
        {AppProperty::profileXY, &m_profile.xy, 1.0},
        {AppProperty::profileX, &m_profile.x, 1.0},
        {AppProperty::profileY, &m_profile.y, 1.0},
        {AppProperty::profileRand, &m_profileRand, 0.0},
        {AppProperty::scenarioXY, &m_scenario.xy, 1.0},
        {AppProperty::scenarioX, &m_scenario.x, 1.0},
        {AppProperty::scenarioY, &m_scenario.y, 1.0},
        {AppProperty::scenarioRand, &m_scenarioRand, 0.0},
    };
    if (name == AppProperty::controlMode) {
        m_controlMode = QCoreApplication::instance()->property(AppProperty::controlMode).toLongLong();
        return;
    }
    for (const Slot& slot : watched) {
        if (name == slot.name) {
            *slot.value = numberOr(slot.name, slot.fallback);
            return;
        }
    }
}
