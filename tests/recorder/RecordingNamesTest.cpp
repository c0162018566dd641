#include "TestRegistry.h"

#include "platform/WinApi.h"
#include "recorder/KeyName.h"
#include "recorder/RecordingFileName.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The names a recording gives: its keys' in the script, its file's in the profile's folder.
class RecordingNamesTest : public QObject
{
    Q_OBJECT

private slots:
    void keyNames_data()
    {
        QTest::addColumn<int>("virtualKey");
        QTest::addColumn<QString>("name");
        QTest::newRow("hotkey name, the shorter of two") << VK_RETURN << "Enter";
        QTest::newRow("one side's modifier") << VK_RCONTROL << "Right Ctrl";
        QTest::newRow("Print Screen, which hotkeys call SysReq") << VK_SNAPSHOT << "Print Screen";
        QTest::newRow("keypad") << VK_NUMPAD7 << "Num 7";
        QTest::newRow("no name") << 0xFF << "";
    }

    void keyNames()
    {
        QFETCH(int, virtualKey);
        QFETCH(QString, name);
        QCOMPARE(KeyName::of(virtualKey), name);
    }

    void fileNameIsTheFirstFreeNumber()
    {
        QTemporaryDir dir;
        QCOMPARE(RecordingFileName::freeIn(dir.path()), dir.filePath("Запись 1.lua"));
        for (const char* name : {"Запись 1.lua", "Запись 3.lua"}) {
            QFile file(dir.filePath(QString::fromUtf8(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QCOMPARE(RecordingFileName::freeIn(dir.path()), dir.filePath("Запись 2.lua"));
    }
};

CLAVITOR_TEST(RecordingNamesTest);
#include "RecordingNamesTest.moc"
