#include "ProgramProcess.h"
#include "TestRegistry.h"
#include "XdoTool.h"

#include <QDateTime>
#include <QDirIterator>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <X11/Xlib.h>

namespace {

// Every file of the data folder with its size and the time it was last written.
QMap<QString, QString> filesOf(const QString& folder)
{
    QMap<QString, QString> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo file(it.next());
        files.insert(
            file.filePath(),
            QStringLiteral("%1 %2").arg(file.size()).arg(file.lastModified().toMSecsSinceEpoch()));
    }
    return files;
}

// Whether `upper` lies above `lower` among the screen's top-level windows, as another client
// sees their stacking order.
bool isAbove(unsigned long upper, unsigned long lower)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    Window root = None, parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    int upperAt = -1, lowerAt = -1;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count; ++i) { // bottom first
            upperAt = children[i] == upper ? int(i) : upperAt;
            lowerAt = children[i] == lower ? int(i) : lowerAt;
        }
        XFree(children);
    }
    XCloseDisplay(display);
    return upperAt >= 0 && lowerAt >= 0 && upperAt > lowerAt;
}

} // namespace

// Clavitor started while it runs: the second start brings the first one's window to the front
// and ends, having written nothing. The first is a portable copy renamed by its user: its
// data folder is the program's all the same. (Without a window manager the server keeps the
// keyboard focus where a newer request put it, so only the stacking order is checked.)
class SingleInstanceX11Test : public QObject
{
    Q_OBJECT

private slots:
    void aSecondStartBringsTheFirstToTheFrontAndEnds()
    {
        const QTemporaryDir dataHome;
        const QTemporaryDir portable;
        const QString renamed = portable.filePath("my-clavitor");
        QVERIFY(QFile::copy(CLAVITOR_PROGRAM, renamed));
        QProcess first;
        startProgram(first, dataHome.path(), renamed);
        QVERIFY(first.waitForStarted(kTimeoutMs));
        QString found;
        QVERIFY(runTool(
            "xdotool",
            {"search", "--sync", "--onlyvisible", "--pid", QString::number(first.processId())},
            &found));
        const unsigned long window = found.section(u'\n', 0, 0).trimmed().toULong();

        // Another program's window comes up over it.
        QWidget other;
        other.setWindowTitle("another program");
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other, kTimeoutMs));
        QTRY_VERIFY_WITH_TIMEOUT(isAbove(other.winId(), window), kTimeoutMs);
        QTest::qWait(500); // the first instance's start-up writes are done
        const QMap<QString, QString> before = filesOf(dataHome.path());
        QVERIFY(before.contains(dataHome.filePath("clavitor/Clavitor/Settings")));

        QProcess second;
        startProgram(second, dataHome.path());
        QVERIFY(second.waitForFinished(kTimeoutMs));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(isAbove(window, other.winId()), kTimeoutMs);
        QCOMPARE(filesOf(dataHome.path()), before);
        QCOMPARE(first.state(), QProcess::Running);

        first.terminate();
        QVERIFY(first.waitForFinished(kTimeoutMs));
    }
};

CLAVITOR_TEST(SingleInstanceX11Test);
#include "SingleInstanceX11Test.moc"
