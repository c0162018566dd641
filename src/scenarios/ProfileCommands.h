#pragma once

class PageDialogs;
class ProfileLibrary;
class ScriptsListWidget;

// The profile commands of the scenario page: add, rename, configure, duplicate, delete, and
// the archive import and export. Each works on the page's profile list with its folders, keeps
// the profile box in step and saves; a new profile becomes current through the page's switch.
class ProfileCommands
{
public:
    ProfileCommands(ScriptsListWidget& page, PageDialogs& dialogs);

    void add();
    void rename();
    void configure();
    void duplicate();
    void remove();
    void exportCurrent();
    void importArchive();

private:
    ProfileLibrary& library() const;
    // Lists the profile just appended to the library, switches to it and saves.
    void showAppendedProfile();

    ScriptsListWidget& m_page;
    PageDialogs& m_dialogs;
};
