#include "ProfileFiles.h"
#include "TestRegistry.h"

#include "library/ProfileStore.h"

#include <QSet>

// Where each profile name puts its directory, and which names the store refuses.
class ProfileDirectoryTest : public QObject
{
    Q_OBJECT

private slots:
    void sanitisedNameNamesTheDirectory_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("directory");
        QTest::newRow("a/b") << "a/b" << "ab";
        QTest::newRow("every removed character") << "a\\b/c:d*e?f\"g<h>i|j" << "abcdefghij";
        QTest::newRow("case and leading blanks kept") << "  Игры CS" << "  Игры CS";
        QTest::newRow("inner dots kept") << "v1.2 final" << "v1.2 final";
        QTest::newRow("device name inside a longer name") << "CONSOLE" << "CONSOLE";
    }
    void sanitisedNameNamesTheDirectory()
    {
        QFETCH(QString, name);
        QFETCH(QString, directory);
        QCOMPARE(profileDirectory(name), dataDirectory() + "/profiles/" + directory);
        QCOMPARE(checkProfileDirectoryName(name, {}), ProfileDirectoryName::Usable);
    }

    void unusableNamesNeverMapOntoTheProfilesFolder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << "";
        QTest::newRow("only removed characters") << "<?>";
        QTest::newRow("dot") << ".";
        QTest::newRow("two dots") << "..";
        QTest::newRow("two dots after sanitising") << ".:.";
        QTest::newRow("trailing dot") << "work.";
        QTest::newRow("trailing blank") << "work ";
        QTest::newRow("device") << "CON";
        QTest::newRow("device in lower case with extension") << "nul.txt";
        QTest::newRow("numbered device") << "Com7";
        QTest::newRow("superscript device") << "LPT\u00b9";
        QTest::newRow("device and blank before the extension") << "aux .x";
        QTest::newRow("control character") << "a\tb";
        QTest::newRow("too long") << QString(256, QLatin1Char('n'));
    }
    void unusableNamesNeverMapOntoTheProfilesFolder()
    {
        QFETCH(QString, name);
        QString message;
        QCOMPARE(checkProfileDirectoryName(name, {}, -1, &message),
                 ProfileDirectoryName::Unusable);
        QCOMPARE(message,
                 QStringLiteral("Имя \"%1\" нельзя использовать для папки профиля.").arg(name));

        // A stand-in directory of its own, one level inside the profiles folder.
        const QFileInfo directory(profileDirectory(name));
        QCOMPARE(directory.dir().path(), dataDirectory() + "/profiles");
        QVERIFY(directory.fileName() != "." && directory.fileName() != "..");
        QVERIFY(profileDirectory(name) != profileDirectory(name + "x"));
    }

    void directoriesThatCollideRegardlessOfCase()
    {
        const QList<ScenarioProfile> profiles = {{"default"}, {"ab"}, {"Work"}};
        QString message;
        QCOMPARE(checkProfileDirectoryName("A/B", profiles, -1, &message),
                 ProfileDirectoryName::Collides);
        QCOMPARE(message,
                 QStringLiteral("Профиль \"A/B\" хранился бы в той же папке, что и профиль "
                                "\"ab\"."));
        QCOMPARE(checkProfileDirectoryName("work", profiles), ProfileDirectoryName::Collides);
        QCOMPARE(checkProfileDirectoryName("DEFAULT", profiles), ProfileDirectoryName::Collides);
        // Renaming Work to work: its own directory does not count.
        QCOMPARE(checkProfileDirectoryName("work", profiles, 2), ProfileDirectoryName::Usable);
        QCOMPARE(checkProfileDirectoryName("a|b", profiles, 2), ProfileDirectoryName::Collides);
        QCOMPARE(checkProfileDirectoryName("Games", profiles), ProfileDirectoryName::Usable);
    }
};

CLAVITOR_TEST(ProfileDirectoryTest);
#include "ProfileDirectoryTest.moc"
