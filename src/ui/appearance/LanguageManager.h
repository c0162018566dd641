#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTranslator>

#include "ToolkitTranslator.h"

#include <memory>

// Switches the interface between Russian, the language the program's texts are written in,
// and the translations found in the catalogue directories, with the toolkit's own texts in
// the same language; then tells every widget to re-translate. One per process.
class LanguageManager : public QObject
{
    Q_OBJECT

public:
    static LanguageManager& instance();

    // Where catalogues are looked for, in order, and their file prefix (<prefix>_<code>.qm).
    // Loads nothing; without a current language the system's becomes current.
    void initialize(const QStringList& searchDirectories, const QString& filePrefix);

    QString currentLanguage() const { return m_language; }

    // Normalises the code ("EN" → "en"; unknown → the system language), replaces the installed
    // translations with those of the language, publishes it as language_app_property, emits
    // languageChanged and sends every widget a language-change event. A missing catalogue is
    // not an error. False only without an application object.
    bool setLanguage(const QString& code);

signals:
    void languageChanged(const QString& languageCode);

private:
    LanguageManager() = default;

    QStringList m_searchDirectories;
    QString m_filePrefix;
    std::unique_ptr<ToolkitTranslator> m_toolkitTranslator = std::make_unique<ToolkitTranslator>();
    std::unique_ptr<QTranslator> m_appTranslator = std::make_unique<QTranslator>();
    QString m_language;
};
