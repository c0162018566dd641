#include "LogFolder.h"

#include "core/DataDirectory.h"
#include "ui/appearance/IconManager.h"
#include "ui/prompts/Prompter.h"

#include <QAbstractButton>

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace {

void openLogFolder(QWidget* parent)
{
    const QString folder = dataDirectoryPath();
    if (QDir().mkpath(folder) && QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
        return;
    Prompter::message(Prompt::Kind::Warning, parent, QStringLiteral("Clavitor"),
                      QCoreApplication::translate("SettingsWgt",
                                                  "Не удалось открыть папку журнала %1")
                          .arg(QDir::toNativeSeparators(folder)));
}

} // namespace

void offerLogFolder(QAbstractButton* button)
{
    IconManager::instance().setIcon(button, QStringLiteral("folders-line"));
    QObject::connect(button, &QAbstractButton::clicked, button,
                     [button] { openLogFolder(button->window()); });
}
