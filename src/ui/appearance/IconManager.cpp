#include "IconManager.h"

#include "core/AppProperties.h"
#include "core/SettingsNormalization.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QPixmap>
#include <QSystemTrayIcon>

IconManager& IconManager::instance()
{
    static IconManager manager;
    return manager;
}

IconManager::IconManager()
    : m_theme(QStringLiteral("default"))
{
    if (const QCoreApplication* app = QCoreApplication::instance()) {
        const QVariant theme = app->property(AppProperty::theme);
        if (theme.isValid())
            m_theme = normalizeTheme(theme.toString());
    }
}

void IconManager::setTheme(const QString& themeId)
{
    const QString theme = normalizeTheme(themeId);
    if (theme == m_theme)
        return;
    m_theme = theme;
    for (auto it = m_names.cbegin(); it != m_names.cend(); ++it)
        apply(it.key(), it.value());
}

QString IconManager::iconPath(const QString& name) const
{
    QString base = name.trimmed();
    if (base.isEmpty())
        return {};
    if (base.endsWith(QLatin1String(".svg")))
        base.chop(4);
    if (m_theme == QLatin1String("light")) {
        const QString light = QStringLiteral(":/icons/%1_light.svg").arg(base);
        if (QFile::exists(light))
            return light;
    }
    return QStringLiteral(":/icons/%1.svg").arg(base);
}

QIcon IconManager::icon(const QString& name) const
{
    const QString path = iconPath(name);
    if (path.isEmpty())
        return {};
    // The icons are resources, which never change: one icon per file serves every widget.
    auto cached = m_icons.constFind(path);
    if (cached == m_icons.cend())
        cached = m_icons.insert(path, QFile::exists(path) ? QIcon(path) : QIcon());
    return *cached;
}

void IconManager::setIcon(QObject* object, const QString& name)
{
    if (!object)
        return;
    m_names.insert(object, name);
    connect(object, &QObject::destroyed, this, &IconManager::handleObjectDestroyed,
            Qt::UniqueConnection);
    apply(object, name);
}

void IconManager::handleObjectDestroyed(QObject* object)
{
    m_names.remove(object);
}

void IconManager::apply(QObject* object, const QString& name) const
{
    if (auto* button = qobject_cast<QAbstractButton*>(object)) {
        button->setIcon(icon(name));
    } else if (auto* action = qobject_cast<QAction*>(object)) {
        action->setIcon(icon(name));
    } else if (auto* label = qobject_cast<QLabel*>(object)) {
        const QString path = iconPath(name);
        if (!path.isEmpty())
            label->setPixmap(QPixmap(path));
    } else if (auto* tray = qobject_cast<QSystemTrayIcon*>(object)) {
        tray->setIcon(icon(name));
    }
}
