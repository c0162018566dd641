#include "LanguageManager.h"

#include "core/AppProperties.h"
#include "core/SettingsNormalization.h"

#include <QApplication>
#include <QEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QWidget>

LanguageManager& LanguageManager::instance()
{
    static LanguageManager manager;
    return manager;
}

void LanguageManager::initialize(const QStringList& searchDirectories, const QString& filePrefix)
{
    m_searchDirectories = searchDirectories;
    m_filePrefix = filePrefix;
    if (m_language.isEmpty())
        m_language = systemLanguage();
}

bool LanguageManager::setLanguage(const QString& code)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return false;
    QString language = normalizeLanguage(code);
    if (language.isEmpty())
        language = systemLanguage();

    QCoreApplication::removeTranslator(m_toolkitTranslator.get());
    QCoreApplication::removeTranslator(m_appTranslator.get());
    m_toolkitTranslator = std::make_unique<ToolkitTranslator>();
    m_appTranslator = std::make_unique<QTranslator>();

    // The toolkit's own texts (standard buttons of the message boxes, context menus) follow
    // every language, Russian included; key names stay as they are. The program's texts are written in Russian, so only
    // the other languages need a catalogue of the program.
    const QLocale locale(language);
    if (m_toolkitTranslator->load(locale, QStringLiteral("qt"), QStringLiteral("_"),
                                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(m_toolkitTranslator.get());
    if (language != QLatin1String("ru")) {
        for (const QString& directory : std::as_const(m_searchDirectories)) {
            if (m_appTranslator->load(locale, m_filePrefix, QStringLiteral("_"), directory)) {
                QCoreApplication::installTranslator(m_appTranslator.get());
                break;
            }
        }
    }

    m_language = language;
    app->setProperty(AppProperty::language, language);
    emit languageChanged(language);

    // A widget passes the event on to its children, windows among them, so sending it to the
    // windows without a parent reaches every widget once.
    QEvent languageChange(QEvent::LanguageChange);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->parentWidget())
            QCoreApplication::sendEvent(window, &languageChange);
    }
    return true;
}
