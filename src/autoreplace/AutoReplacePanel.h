#pragma once

#include <QWidget>

class AutoReplaceTable;
class QLabel;
class QPushButton;

// The content of the "Автозамена" tab: a label, the auto-replace table and the buttons under
// it. Adding and removing rows are handled here; the apply button only asks, through
// applyRequested, since applying needs the profile and its scenario model.
class AutoReplacePanel : public QWidget
{
    Q_OBJECT

public:
    explicit AutoReplacePanel(QWidget* parent = nullptr);

    AutoReplaceTable* table() const { return m_table; }

signals:
    void applyRequested();

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    QLabel* m_label;
    AutoReplaceTable* m_table;
    QPushButton* m_addButton;
    QPushButton* m_removeButton;
    QPushButton* m_applyButton;
};
