#include "MakerPages.h"

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

void openMakerPage(MakerPage page)
{
    QDesktopServices::openUrl(makerPageUrl(page));
}
