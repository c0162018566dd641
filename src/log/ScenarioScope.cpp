#include "ScenarioScope.h"

namespace {

thread_local QString t_scenario;

} // namespace

ScenarioScope::ScenarioScope(const QString& scenario) : m_outer(t_scenario)
{
    t_scenario = scenario;
}

ScenarioScope::~ScenarioScope()
{
    t_scenario = m_outer;
}

QString ScenarioScope::current()
{
    return t_scenario;
}
