#include "AutoReplaceTable.h"

#include "AutoReplaceRowActions.h"
#include "AutoReplacer.h"
#include "ui/prompts/Prompter.h"

#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>

#include <algorithm>

namespace {

constexpr int kRowHeight = 44;
constexpr int kActionsMinimumWidth = 148;
constexpr int kValueMinimumWidth = 130;

} // namespace

AutoReplaceTable::AutoReplaceTable(QWidget* parent) : QTableWidget(0, 4, parent)
{
    setObjectName(QStringLiteral("autoReplaceTable"));
    verticalHeader()->setVisible(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setAlternatingRowColors(true);
    setShowGrid(false);
    setWordWrap(false);

    QHeaderView* header = horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setHighlightSections(false);
    header->setMinimumSectionSize(32);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionResizeMode(NameColumn, QHeaderView::Stretch);

    retranslate();
    connect(this, &QTableWidget::cellChanged, this, &AutoReplaceTable::onCellChanged);
}

void AutoReplaceTable::setRules(const QList<AutoReplaceRule>& rules)
{
    const QSignalBlocker blocker(this);
    setRowCount(0);
    for (const AutoReplaceRule& rule : rules)
        insertRuleRow(rowCount(), rule);
    m_rules = rules;
    fitColumns();
}

QList<AutoReplaceRule> AutoReplaceTable::rules() const
{
    QList<AutoReplaceRule> rules;
    for (int row = 0; row < rowCount(); ++row) {
        const QTableWidgetItem* cell = item(row, ActionsColumn);
        AutoReplaceRule rule;
        rule.description = cell->data(DescriptionRole).toString();
        rule.parameter = cell->data(ParameterRole).toString().trimmed();
        rule.name = lineEditAt(row, NameColumn)->text().trimmed();
        rule.fromValue = lineEditAt(row, FromColumn)->text().trimmed();
        rule.toValue = lineEditAt(row, ToColumn)->text().trimmed();
        for (const QString& fallback :
             {rule.parameter, rule.description.trimmed(), rule.fromValue}) {
            if (!rule.name.isEmpty())
                break;
            rule.name = fallback;
        }
        if (!AutoReplacer::searchText(rule).trimmed().isEmpty())
            rules.append(rule);
    }
    return rules;
}

void AutoReplaceTable::addRow()
{
    const int row = rowCount();
    {
        const QSignalBlocker blocker(this);
        insertRuleRow(row, {});
    }
    fitColumns();
    scrollToItem(item(row, ActionsColumn));
    lineEditAt(row, NameColumn)->setFocus(Qt::OtherFocusReason);
}

void AutoReplaceTable::removeMarkedRows()
{
    // From the last row up, so that the rows still to go keep their numbers.
    for (int row = rowCount() - 1; row >= 0; --row) {
        if (actionsAt(row)->isMarkedForRemoval())
            removeRow(row);
    }
    commitEdits();
}

void AutoReplaceTable::commitEdits()
{
    QList<AutoReplaceRule> shown = rules();
    if (shown == m_rules)
        return;
    m_rules = shown;
    emit rulesChanged(shown);
}

void AutoReplaceTable::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QTableWidget::changeEvent(event);
}

void AutoReplaceTable::insertRuleRow(int row, const AutoReplaceRule& rule)
{
    insertRow(row);
    auto* cell = new QTableWidgetItem;
    cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    cell->setData(ParameterRole, rule.parameter);
    cell->setData(DescriptionRole, rule.description);
    setItem(row, ActionsColumn, cell);

    auto* actions = new AutoReplaceRowActions;
    connect(actions, &AutoReplaceRowActions::parameterRequested, this,
            [this, actions] { editParameter(actions); });
    connect(actions, &AutoReplaceRowActions::descriptionRequested, this,
            [this, actions] { editDescription(actions); });
    setCellWidget(row, ActionsColumn, actions);

    const QString texts[] = {rule.name, rule.fromValue, rule.toValue};
    for (int column = NameColumn; column <= ToColumn; ++column) {
        auto* edit = new QLineEdit(texts[column - NameColumn]);
        edit->setProperty("inputStyle", QStringLiteral("ghost"));
        edit->setPlaceholderText(placeholder(column));
        connect(edit, &QLineEdit::textChanged, this, &AutoReplaceTable::commitEdits);
        setCellWidget(row, column, edit);
    }
    showRowData(row);
}

QLineEdit* AutoReplaceTable::lineEditAt(int row, int column) const
{
    return static_cast<QLineEdit*>(cellWidget(row, column));
}

AutoReplaceRowActions* AutoReplaceTable::actionsAt(int row) const
{
    return static_cast<AutoReplaceRowActions*>(cellWidget(row, ActionsColumn));
}

int AutoReplaceTable::rowOf(const QWidget* actions) const
{
    for (int row = 0; row < rowCount(); ++row) {
        if (cellWidget(row, ActionsColumn) == actions)
            return row;
    }
    return -1;
}

void AutoReplaceTable::onCellChanged(int row, int column)
{
    if (column == ActionsColumn) {
        showRowData(row);
        fitColumns();
    }
    commitEdits();
}

void AutoReplaceTable::editParameter(AutoReplaceRowActions* actions)
{
    const QPointer<AutoReplaceRowActions> guard(actions);
    int row = rowOf(actions);
    if (row < 0)
        return;
    const std::optional<QString> answer =
        Prompter::text(this, QStringLiteral("Clavitor"), tr("Укажите параметр"),
                       item(row, ActionsColumn)->data(ParameterRole).toString());
    // The dialog ran an event loop: the row may have moved or gone meanwhile.
    row = guard ? rowOf(guard) : -1;
    if (!answer || row < 0)
        return;
    const QString parameter = answer->trimmed();
    if (parameter != item(row, ActionsColumn)->data(ParameterRole).toString())
        item(row, ActionsColumn)->setData(ParameterRole, parameter);
}

void AutoReplaceTable::editDescription(AutoReplaceRowActions* actions)
{
    const QPointer<AutoReplaceRowActions> guard(actions);
    int row = rowOf(actions);
    if (row < 0)
        return;
    const QString parameter = item(row, ActionsColumn)->data(ParameterRole).toString();
    const QString label = parameter.isEmpty() ? tr("Описание параметра")
                                              : tr("Описание параметра «%1»").arg(parameter);
    const std::optional<QString> answer =
        Prompter::multiLineText(this, QStringLiteral("Clavitor"), label,
                                item(row, ActionsColumn)->data(DescriptionRole).toString());
    row = guard ? rowOf(guard) : -1;
    if (!answer || row < 0)
        return;
    if (*answer != item(row, ActionsColumn)->data(DescriptionRole).toString())
        item(row, ActionsColumn)->setData(DescriptionRole, *answer);
}

// The header of a text column, which is also the placeholder of its editors.
QString AutoReplaceTable::placeholder(int column)
{
    switch (column) {
    case NameColumn:
        return tr("Имя");
    case FromColumn:
        return tr("Было");
    default:
        return tr("Станет");
    }
}

// The tooltips of the row's buttons after its parameter and description.
void AutoReplaceTable::showRowData(int row)
{
    const QTableWidgetItem* cell = item(row, ActionsColumn);
    AutoReplaceRowActions* actions = actionsAt(row);
    actions->showParameter(cell->data(ParameterRole).toString());
    actions->showDescription(cell->data(DescriptionRole).toString());
}

void AutoReplaceTable::retranslate()
{
    setHorizontalHeaderLabels(
        {tr("Действия"), placeholder(NameColumn), placeholder(FromColumn), placeholder(ToColumn)});
    for (int row = 0; row < rowCount(); ++row) {
        for (int column = NameColumn; column <= ToColumn; ++column)
            lineEditAt(row, column)->setPlaceholderText(placeholder(column));
        showRowData(row);
    }
    fitColumns();
}

// The actions column never narrower than its widgets or its header, the value columns never
// narrower than their headers; each keeps a greater width the user gave it.
void AutoReplaceTable::fitColumns()
{
    QHeaderView* header = horizontalHeader();
    setColumnWidth(ActionsColumn,
                   std::max({kActionsMinimumWidth, header->sectionSizeHint(ActionsColumn),
                             sizeHintForColumn(ActionsColumn), columnWidth(ActionsColumn)}));
    for (int column : {FromColumn, ToColumn}) {
        setColumnWidth(column, std::max({kValueMinimumWidth, header->sectionSizeHint(column),
                                         columnWidth(column)}));
    }
}
