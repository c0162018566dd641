#include "ProfileFiles.h"
#include "TestRegistry.h"

#include "profiles/ProfileStore.h"

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
        QTest::newRow("half a surrogate pair") << QString(QChar(0xD800)) + "x";
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

    void copiesOfNamesThatCannotNameAFolderCanName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("copy");
        QTest::newRow("control characters, half a surrogate pair")
            << "a\tb\x01" + QString(QChar(0xDC00)) + "c" << "abc копия";
        QTest::newRow("device before a dot") << "nul.txt" << "_nul.txt копия";
        QTest::newRow("too long for the number") << QString(250, 'n') << QString(200, 'n') + " копия";
        QTest::newRow("surrogate pair at the cut")
            << QString(199, 'n') + "\U0001F600" << QString(199, 'n') + " копия";
    }
    void copiesOfNamesThatCannotNameAFolderCanName()
    {
        QFETCH(QString, name);
        QFETCH(QString, copy);
        QCOMPARE(duplicateProfileName(name, {named(name)}), copy);
        QCOMPARE(checkProfileDirectoryName(copy, {}), ProfileDirectoryName::Usable);
    }
};

CLAVITOR_TEST(ProfileDirectoryTest);
#include "ProfileDirectoryTest.moc"
