#include "AutoReplaceRowActions.h"

#include "ui/appearance/IconManager.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QToolButton>

namespace {

QToolButton* iconButton(QWidget* parent, const char* objectName, const char* icon)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(objectName));
    button->setProperty("buttonStyle", QStringLiteral("ghostIcon"));
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setCursor(Qt::PointingHandCursor);
    button->setIconSize(QSize(18, 18));
    IconManager::instance().setIcon(button, QLatin1String(icon));
    return button;
}

} // namespace

AutoReplaceRowActions::AutoReplaceRowActions(QWidget* parent)
    : QWidget(parent), m_remove(new QCheckBox(this)),
      m_parameterButton(iconButton(this, "autoReplaceParameterButton", "input-field")),
      m_descriptionButton(iconButton(this, "autoReplaceDescriptionButton", "settings-3-line"))
{
    m_remove->setObjectName(QStringLiteral("autoReplaceRemoveCheckBox"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 0, 8, 0);
    layout->setSpacing(6);
    layout->addWidget(m_remove);
    layout->addWidget(m_parameterButton);
    layout->addWidget(m_descriptionButton);
    layout->addStretch();
    connect(m_parameterButton, &QToolButton::clicked, this,
            &AutoReplaceRowActions::parameterRequested);
    connect(m_descriptionButton, &QToolButton::clicked, this,
            &AutoReplaceRowActions::descriptionRequested);
}

bool AutoReplaceRowActions::isMarkedForRemoval() const
{
    return m_remove->isChecked();
}

void AutoReplaceRowActions::showParameter(const QString& parameter)
{
    m_parameterButton->setToolTip(parameter.isEmpty() ? tr("Укажите параметр автозамены")
                                                      : parameter);
}

void AutoReplaceRowActions::showDescription(const QString& description)
{
    m_descriptionButton->setToolTip(description.isEmpty() ? tr("Посмотреть описание (не заполнено)")
                                                          : tr("Посмотреть описание"));
}
