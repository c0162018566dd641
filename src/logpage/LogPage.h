#pragma once

#include "log/LogJournal.h"

#include <QList>
#include <QModelIndexList>
#include <QString>
#include <QWidget>

#include <memory>

class LogFilterModel;
class LogModel;
class QCheckBox;

namespace Ui {
class LogPage;
}

// The page "Журнал": the journal's lines, the newest at the bottom, a Lua traceback folded
// under its line. The user filters them by kind, by scenario and by a text, copies the
// selected or shown lines, saves the shown ones to a text file and clears the journal. The
// view follows new lines while the user has not scrolled up.
class LogPage : public QWidget
{
    Q_OBJECT

public:
    explicit LogPage(QWidget* parent = nullptr, LogJournal& journal = LogJournal::instance());
    ~LogPage() override;

public slots:
    // Shows every kind of line of the scenario (of every scenario when empty), whatever the
    // filters showed before.
    void showScenario(const QString& name);

protected:
    void changeEvent(QEvent* event) override;

private:
    void createKindBoxes();
    void fillScenarioCombo();
    void onScenarioChosen(int index);
    void sizeColumns();
    void retranslate();

    // The shown lines, as LogLineFormat shows them, in the view's order: of the given rows
    // (traceback rows stand for their line), or all shown when none are given.
    QStringList shownLines(const QModelIndexList& rows = {}) const;
    void copyLines();
    void saveLines();

    std::unique_ptr<Ui::LogPage> ui;
    LogJournal& m_journal;
    LogModel* m_model;
    LogFilterModel* m_filter;
    QList<QCheckBox*> m_kindBoxes; // in the order of LogKinds::all()
};
