#pragma once

#include <QWidget>

class QCheckBox;
class QToolButton;

// The first cell of an auto-replace row: the check box that marks the row for removal and the
// buttons that open the row's parameter and description.
class AutoReplaceRowActions : public QWidget
{
    Q_OBJECT

public:
    explicit AutoReplaceRowActions(QWidget* parent = nullptr);

    bool isMarkedForRemoval() const;
    // The tooltips name the parameter, and say whether the description is filled in.
    void showParameter(const QString& parameter);
    void showDescription(const QString& description);

signals:
    void parameterRequested();
    void descriptionRequested();

private:
    QCheckBox* m_remove;
    QToolButton* m_parameterButton;
    QToolButton* m_descriptionButton;
};
