#pragma once

#include "profiles/AutoReplaceRule.h"

#include <QList>
#include <QTableWidget>

class AutoReplaceRowActions;
class QLineEdit;

// The auto-replace table of a profile, one row per rule: the row's actions (removal mark,
// parameter and description buttons), then line editors for the name, the old and the new
// value. The parameter and description belong to the first cell (item data). Every edit that
// changes the rules as read from the table is announced with rulesChanged.
class AutoReplaceTable : public QTableWidget
{
    Q_OBJECT

public:
    enum Column { ActionsColumn, NameColumn, FromColumn, ToColumn };
    enum Role { ParameterRole = Qt::UserRole + 1, DescriptionRole };

    explicit AutoReplaceTable(QWidget* parent = nullptr);

    // One row per rule, filled without emitting any change signal. These rules are what later
    // edits are compared with.
    void setRules(const QList<AutoReplaceRule>& rules);
    // The rules as the table shows them: trimmed, an empty name replaced by the parameter, the
    // description or the old value, and rows without a search text left out.
    QList<AutoReplaceRule> rules() const;

public slots:
    // Appends an empty row and puts the cursor in its name cell.
    void addRow();
    // Removes every row whose removal mark is ticked.
    void removeMarkedRows();
    // Reads the table; when the rules differ from the last ones set or announced, they become
    // the current ones and rulesChanged is emitted.
    void commitEdits();

signals:
    // The rules as shown changed: the profile takes them and the profile list is saved.
    void rulesChanged(const QList<AutoReplaceRule>& rules);

protected:
    void changeEvent(QEvent* event) override;

private:
    void insertRuleRow(int row, const AutoReplaceRule& rule);
    QLineEdit* lineEditAt(int row, int column) const;
    AutoReplaceRowActions* actionsAt(int row) const;
    int rowOf(const QWidget* actions) const;
    void onCellChanged(int row, int column);
    void editParameter(AutoReplaceRowActions* actions);
    void editDescription(AutoReplaceRowActions* actions);
    static QString placeholder(int column);
    void showRowData(int row);
    void retranslate();
    void fitColumns();

    QList<AutoReplaceRule> m_rules;
};
