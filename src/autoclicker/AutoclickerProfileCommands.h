#pragma once

#include "AutoclickerProfile.h"

#include <QString>

#include <optional>

class AutoclickerWidget;

// The profile commands of the autoclicker page: add, rename, duplicate, delete, import and
// export. The page runs each under its busy guard. A command takes the shown settings into
// the current profile first, keeps the name rules of the profile list, and ends with the page
// showing the current profile and saving the file. A new profile carries the autoclicker's
// on/off state and becomes current.
class AutoclickerProfileCommands
{
public:
    explicit AutoclickerProfileCommands(AutoclickerWidget& page);

    void add();
    void rename();
    void duplicate();
    void remove();
    void importProfile();
    void exportCurrent();

private:
    // Asks for a name until the user gives a free one or cancels; the profile at
    // excludedIndex may keep its own.
    std::optional<QString> promptName(const QString& title, const QString& label,
                                      const QString& initialText, int excludedIndex);
    // Appends the profile as the current one, with the autoclicker's on/off state.
    void appendProfile(AutoclickerProfile profile);
    // Fills the selector, shows the current profile and saves: the end of a list command.
    void finish();
    void warn(const QString& text);
    void notice(const QString& text);

    AutoclickerWidget& m_page;
};
