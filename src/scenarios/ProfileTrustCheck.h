#pragma once

#include <QCheckBox>

class PageDialogs;
class ScriptsListWidget;

// The check box of the "Профиль" tab that lets the current profile's scenarios use the whole
// Lua library (files, programs, native code) instead of the safe one. Turning it on asks first;
// the change is saved at once and reaches the scenarios from their next activation.
class ProfileTrustCheck : public QCheckBox
{
    Q_OBJECT

public:
    ProfileTrustCheck(ScriptsListWidget& page, PageDialogs& dialogs);

    // Shows the current profile's mark (unchecked and disabled without a current profile).
    void showProfile();

protected:
    void changeEvent(QEvent* event) override;

private:
    void onToggled(bool trusted);
    void retranslate();

    ScriptsListWidget& m_page;
    PageDialogs& m_dialogs;
};
