#pragma once

#include "log/LogEntry.h"

#include <QSortFilterProxyModel>
#include <QString>

class LogModel;

// The lines the log page shows: those of the kinds checked, of the scenario chosen (or of
// every scenario) and, when a text is given, those whose text, traceback or scenario holds it
// without regard to case. The dropped-lines row and the traceback lines under a line shown
// always pass. Lines keep the journal's order.
class LogFilterModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit LogFilterModel(LogModel& source, QObject* parent = nullptr);

    bool showsKind(LogKind kind) const { return (m_kinds & bitOf(kind)) != 0; }
    void setKindShown(LogKind kind, bool shown);
    void showAllKinds();
    // Empty: every scenario's lines, and the program's own.
    void setScenario(const QString& scenario);
    QString scenario() const { return m_scenario; }
    void setText(const QString& text);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    static quint32 bitOf(LogKind kind) { return quint32(1) << static_cast<int>(kind); }
    void setKinds(quint32 kinds);

    LogModel& m_source;
    quint32 m_kinds = 0; // a bit per kind shown
    QString m_scenario;
    QString m_text;
};
