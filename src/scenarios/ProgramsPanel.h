#pragma once

#include <QWidget>

class PageDialogs;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class ScriptsListWidget;

// The part of the "Профиль" tab on the program in front: the current profile's programs as a
// list with add (a typed name such as "game.exe") and remove, "Выбрать окно", which lists the
// next program the user brings to the front, and the check box that turns following on and
// off. Every change is saved at once. A program is listed by one profile only: adding one that
// another profile lists is refused with a message naming that profile.
class ProgramsPanel : public QWidget
{
    Q_OBJECT

public:
    ProgramsPanel(ScriptsListWidget& page, PageDialogs& dialogs);

    // Shows the current profile's programs (none without a current profile); a pick under
    // way ends, since it was for the profile shown before.
    void showProfile();
signals:
    void followingChanged(bool enabled);

protected:
    void changeEvent(QEvent* event) override;

private:
    void add(const QString& typedName);
    void removeSelected();
    void startPick();
    void endPick();
    void onFollowToggled(bool enabled);
    void updateControls();
    void retranslate();

    ScriptsListWidget& m_page;
    PageDialogs& m_dialogs;
    QLabel* m_title;
    QListWidget* m_list;
    QLineEdit* m_name;
    QPushButton* m_add;
    QPushButton* m_remove;
    QPushButton* m_pick;
    QLabel* m_waiting;
    QPushButton* m_cancel;
    QCheckBox* m_follow;
};
