#pragma once

#include <QObject>
#include <QString>

// Tells a player in a full-screen game, who sees nothing but the overlay, that a scenario's
// error ended or interrupted it: "Ошибка в <scenario>: строка N" on the overlay for kNoticeMs.
class ScenarioErrorNotice : public QObject
{
    Q_OBJECT

public:
    static constexpr int kNoticeMs = 3000;

    explicit ScenarioErrorNotice(QObject* parent = nullptr);

    // The notice's text for an error of the scenario at the line (0: not known).
    static QString text(const QString& scenario, int line);
};
