#include "MakerPages.h"

#include "ui/prompts/Prompter.h"

#include <QCoreApplication>
#include <QDesktopServices>

QUrl makerPageUrl(MakerPage page)
{
    const char* path = "";
    switch (page) {
    case MakerPage::Website:
        break;
    case MakerPage::Telegram:
        path = "/telegram";
        break;
    case MakerPage::Vkontakte:
        path = "/vk";
        break;
    case MakerPage::AutoclickerGuide:
        path = "/guide/autoclicker";
        break;
    case MakerPage::ScriptsGuide:
        path = "/guide/scripts";
        break;
    }
    return QUrl(QString::fromLatin1(kMakerBaseUrl) + QLatin1String(path));
}

void openMakerPage(MakerPage page, QWidget* parent)
{
    const QUrl url = makerPageUrl(page);
    if (QDesktopServices::openUrl(url))
        return;
    Prompter::message(Prompt::Kind::Warning, parent, QStringLiteral("Clavitor"),
                      QCoreApplication::translate("MakerPages",
                                                  "Не удалось открыть ссылку \"%1\": в системе "
                                                  "не найден браузер.")
                          .arg(url.toString()));
}
