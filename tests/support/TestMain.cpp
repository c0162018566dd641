#include "LogCapture.h"
#include "TestRegistry.h"

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char* argv[])
{
    // Before anything asks for a path: tests never touch a user's real files.
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    LogCapture::quietDefaults();
    return TestRegistry::runAll(argc, argv);
}
