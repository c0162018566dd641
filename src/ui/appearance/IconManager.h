#pragma once

#include <QHash>
#include <QIcon>
#include <QObject>
#include <QString>

// Gives every registered object (button, action, label, tray icon) the variant of its icon
// that belongs to the current theme, and gives it again when the theme changes. One per
// process; it starts in the theme published as theme_app_property.
class IconManager : public QObject
{
    Q_OBJECT

public:
    static IconManager& instance();

    QString theme() const { return m_theme; }
    // Normalises the theme id; when the theme changes, every registered object is re-iconed.
    void setTheme(const QString& themeId);

    // ":/icons/<name>_light.svg" in the light theme when that file exists, otherwise
    // ":/icons/<name>.svg"; the name may carry its ".svg". Empty for an empty name.
    QString iconPath(const QString& name) const;
    // The icon of iconPath(name); an empty icon when that file does not exist.
    QIcon icon(const QString& name) const;

    // Registers the object under the name (a later call replaces the name) and applies the
    // icon now. The object leaves the table when it is destroyed.
    void setIcon(QObject* object, const QString& name);

public slots:
    void handleObjectDestroyed(QObject* object);

private:
    IconManager();
    void apply(QObject* object, const QString& name) const;

    QString m_theme;
    QHash<QObject*, QString> m_names;
    mutable QHash<QString, QIcon> m_icons; // by file path
};
