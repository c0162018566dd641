#include "AutoReplacePanel.h"

#include "AutoReplaceTable.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* button(QWidget* parent, const char* objectName, const char* style)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(QLatin1String(objectName));
    if (style)
        button->setProperty("buttonStyle", QLatin1String(style));
    return button;
}

} // namespace

AutoReplacePanel::AutoReplacePanel(QWidget* parent)
    : QWidget(parent), m_label(new QLabel(this)), m_table(new AutoReplaceTable(this)),
      m_addButton(button(this, "autoReplaceAddButton", "outline")),
      m_removeButton(button(this, "autoReplaceRemoveButton", "destructiveOutline")),
      m_applyButton(button(this, "autoReplaceApplyButton", nullptr))
{
    m_label->setWordWrap(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_addButton);
    buttons->addWidget(m_removeButton);
    buttons->addStretch();
    buttons->addWidget(m_applyButton);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_label);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);

    connect(m_addButton, &QPushButton::clicked, m_table, &AutoReplaceTable::addRow);
    connect(m_removeButton, &QPushButton::clicked, m_table, &AutoReplaceTable::removeMarkedRows);
    connect(m_applyButton, &QPushButton::clicked, this, &AutoReplacePanel::applyRequested);
    retranslate();
}

void AutoReplacePanel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void AutoReplacePanel::retranslate()
{
    m_label->setText(tr("Автозаменена во всех сценариях выбранного профиля."));
    m_addButton->setText(tr("Добавить пару"));
    m_removeButton->setText(tr("Удалить"));
    m_applyButton->setText(tr("Заменить"));
}
