#include "TestRegistry.h"

#include "core/AppProperties.h"
#include "core/SettingsNormalization.h"
#include "ui/appearance/LanguageManager.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeySequence>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

namespace {

const char kContext[] = "Startup";
const char kRussian[] = "Не удалось загрузить стили интерфейса.";
const char kEnglish[] = "Couldn't load interface styles.";

QString translated()
{
    return QCoreApplication::translate(kContext, kRussian);
}

class LanguageChangeCounter : public QWidget
{
public:
    using QWidget::QWidget;
    int languageChanges = 0;

protected:
    void changeEvent(QEvent* event) override
    {
        if (event->type() == QEvent::LanguageChange)
            ++languageChanges;
        QWidget::changeEvent(event);
    }
};

void initializeAsTheProgramDoes()
{
    const QString appDirectory = QCoreApplication::applicationDirPath();
    LanguageManager::instance().initialize(
        {appDirectory + "/resources/translations", appDirectory, ":/i18n"}, "clavitor");
}

} // namespace

class LanguageManagerTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { initializeAsTheProgramDoes(); }
    void cleanup()
    {
        LanguageManager::instance().setLanguage("ru");
        QCoreApplication::processEvents();
    }

    void switchesToEnglishAndBackToRussian()
    {
        LanguageManager& languages = LanguageManager::instance();
        QSignalSpy changed(&languages, &LanguageManager::languageChanged);

        QVERIFY(languages.setLanguage("EN"));
        QCOMPARE(languages.currentLanguage(), QStringLiteral("en"));
        QCOMPARE(qApp->property(AppProperty::language).toString(), QStringLiteral("en"));
        QCOMPARE(translated(), QString::fromUtf8(kEnglish));

        QVERIFY(languages.setLanguage(" ru_RU "));
        QCOMPARE(languages.currentLanguage(), QStringLiteral("ru"));
        QCOMPARE(qApp->property(AppProperty::language).toString(), QStringLiteral("ru"));
        QCOMPARE(translated(), QString::fromUtf8(kRussian));
        // The standard buttons of the message boxes are Russian too, not the toolkit's English.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QString::fromUtf8("&Да"));
        // Key names stay untranslated: hotkeys are read and registered by them.
        QCOMPARE(QKeySequence::fromString("Alt+Space", QKeySequence::PortableText)
                     .toString(QKeySequence::NativeText),
                 QStringLiteral("Alt+Space"));
        QCOMPARE(QKeySequence::fromString("Ctrl+Media Play", QKeySequence::NativeText)
                     .toString(QKeySequence::PortableText),
                 QStringLiteral("Ctrl+Media Play"));

        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed.at(0).at(0).toString(), QStringLiteral("en"));
        QCOMPARE(changed.at(1).at(0).toString(), QStringLiteral("ru"));
    }

    void anUnknownLanguageMeansTheSystemLanguage()
    {
        QVERIFY(LanguageManager::instance().setLanguage("de"));
        QCOMPARE(LanguageManager::instance().currentLanguage(), systemLanguage());
    }

    void aMissingCatalogueLeavesTheTextsInRussian()
    {
        QTemporaryDir empty;
        LanguageManager::instance().initialize({empty.path()}, "clavitor");
        QVERIFY(LanguageManager::instance().setLanguage("en"));
        QCOMPARE(LanguageManager::instance().currentLanguage(), QStringLiteral("en"));
        QCOMPARE(translated(), QString::fromUtf8(kRussian));
    }

    void everyWidgetHearsTheChangeOnce()
    {
        LanguageChangeCounter window;
        auto* page = new LanguageChangeCounter(&window);
        auto* row = new LanguageChangeCounter(page);
        LanguageChangeCounter dialog(&window, Qt::Dialog);

        LanguageManager::instance().setLanguage("ru");

        QCOMPARE(window.languageChanges, 1);
        QCOMPARE(page->languageChanges, 1);
        QCOMPARE(row->languageChanges, 1);
        QCOMPARE(dialog.languageChanges, 1);
    }
};

CLAVITOR_TEST(LanguageManagerTest);
#include "LanguageManagerTest.moc"
