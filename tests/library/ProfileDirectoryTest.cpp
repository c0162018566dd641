#include "ProfileFiles.h"
#include "TestRegistry.h"

#include "library/ProfileStore.h"

// Where each profile name puts its directory, and which names the store refuses.
class ProfileDirectoryTest : public QObject
{
    Q_OBJECT

private slots:
    void sanitisedNameNamesTheDirectory()
    {
        const QString profiles = dataDirectory() + "/profiles/";
        QCOMPARE(profileDirectory("a/b"), profiles + "ab");
        QCOMPARE(profileDirectory("a\\b/c:d*e?f\"g<h>i|j"), profiles + "abcdefghij");
        QCOMPARE(profileDirectory("  Игры v1.2"), profiles + "  Игры v1.2");
        QCOMPARE(checkProfileDirectoryName("CONSOLE", {}), ProfileDirectoryName::Usable);
    }

    void unusableNamesNeverMapOntoTheProfilesFolder_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : {"", "<?>", ".", "..", ".:.", "work.", "work ", "CON", "nul.txt",
                                 "Com7", "LPT\u00b9", "aux .x", "a\tb"})
            QTest::addRow("[%s]", name) << QString::fromUtf8(name);
        QTest::newRow("too long") << QString(256, 'n');
    }
    void unusableNamesNeverMapOntoTheProfilesFolder()
    {
        QFETCH(QString, name);
        QString message;
        QCOMPARE(checkProfileDirectoryName(name, {}, -1, &message),
                 ProfileDirectoryName::Unusable);
        QCOMPARE(message, QString("Имя \"%1\" нельзя использовать для папки профиля.").arg(name));

        // A stand-in directory of its own, one level inside the profiles folder.
        const QFileInfo directory(profileDirectory(name));
        QCOMPARE(directory.dir().path(), dataDirectory() + "/profiles");
        QVERIFY(!directory.fileName().startsWith('.'));
        QVERIFY(profileDirectory(name) != profileDirectory(name + "x"));
    }

    void directoriesThatCollideRegardlessOfCase()
    {
        const QList<ScenarioProfile> profiles = {named("default"), named("ab"), named("Work")};
        QString message;
        QCOMPARE(checkProfileDirectoryName("A/B", profiles, -1, &message),
                 ProfileDirectoryName::Collides);
        QCOMPARE(message, "Профиль \"A/B\" хранился бы в той же папке, что и профиль \"ab\".");
        QCOMPARE(checkProfileDirectoryName("work", profiles), ProfileDirectoryName::Collides);
        // Renaming Work to work: its own directory does not count, the others do.
        QCOMPARE(checkProfileDirectoryName("work", profiles, 2), ProfileDirectoryName::Usable);
        QCOMPARE(checkProfileDirectoryName("a|b", profiles, 2), ProfileDirectoryName::Collides);
        QCOMPARE(checkProfileDirectoryName("Games", profiles), ProfileDirectoryName::Usable);
    }

    void copiesAreNamedAfterTheFirstFreeName()
    {
        QList<ScenarioProfile> profiles = {named("default"), named("Work")};
        QCOMPARE(duplicateProfileName("Work", profiles), "Work копия");
        profiles << named("work КОПИЯ");
        QCOMPARE(duplicateProfileName("Work", profiles), "Work копия (2)");
        profiles << named("Work копия (2)") << named("Work копия (3)?");
        QCOMPARE(duplicateProfileName("Work", profiles), "Work копия (4)"); // "(3)?" has the folder of "(3)"
    }
};

CLAVITOR_TEST(ProfileDirectoryTest);
#include "ProfileDirectoryTest.moc"
