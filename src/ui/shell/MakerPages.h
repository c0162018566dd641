#pragma once

#include <QUrl>

class QWidget;

// The maker's pages that the program links to.
enum class MakerPage
{
    Website,
    Telegram,
    Vkontakte,
    AutoclickerGuide,
    ScriptsGuide
};

// ---------------------------------------------------------------------------------------------
// THE MAKER'S WEB ADDRESS. Every link of the program is built on it: change it here.
// The Telegram channel and the VK group are reached through forwarding pages of the website.
inline constexpr char kMakerBaseUrl[] = "https://clavitor.example";
// ---------------------------------------------------------------------------------------------

QUrl makerPageUrl(MakerPage page);

// Opens the page in the system's default browser; when none can open it, a warning over
// parent gives the address, so the user can open it by hand.
void openMakerPage(MakerPage page, QWidget* parent);
