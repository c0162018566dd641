#pragma once

#include <QString>

// Names the scenario whose code runs on this thread while the scope lives, so that the lines
// logged meanwhile are the scenario's. Scopes nest; the innermost names the scenario.
class ScenarioScope
{
public:
    explicit ScenarioScope(const QString& scenario);
    ~ScenarioScope();
    ScenarioScope(const ScenarioScope&) = delete;
    ScenarioScope& operator=(const ScenarioScope&) = delete;

    // The scenario of the innermost scope on this thread; empty outside every scope.
    static QString current();

private:
    QString m_outer;
};
