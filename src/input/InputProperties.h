#pragma once

#include <QObject>

// The application properties that shape every input record, kept as plain numbers in step
// with the properties (through their change events), so that the per-record path reads
// fields instead of looking properties up by name. A property that is missing or not a
// finite number counts as a factor of 1.0 and as no jitter.
class InputProperties : public QObject
{
    Q_OBJECT

public:
    // Watches the application object, which must exist.
    InputProperties();

    struct Factors
    {
        double xy = 1.0;
        double x = 1.0;
        double y = 1.0;
    };

    bool driverMode() const { return m_controlMode == 1; }
    // The factors of the route in use.
    const Factors& routeFactors() const { return driverMode() ? m_driver : m_systemApi; }
    const Factors& profileFactors() const { return m_profile; }
    const Factors& scenarioFactors() const { return m_scenario; }
    double profileRand() const { return m_profileRand; }
    double scenarioRand() const { return m_scenarioRand; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh(const QByteArray& name);

    qlonglong m_controlMode = 0;
    Factors m_systemApi;
    Factors m_driver;
    Factors m_profile;
    Factors m_scenario;
    double m_profileRand = 0.0;
    double m_scenarioRand = 0.0;
};
