#include "ProfileTrustCheck.h"

#include "PageDialogs.h"
#include "ScriptsListWidget.h"
#include "engine/ScriptsModel.h"

#include <QEvent>
#include <QSignalBlocker>

ProfileTrustCheck::ProfileTrustCheck(ScriptsListWidget& page, PageDialogs& dialogs)
    : m_page(page), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("profileTrustCheckBox"));
    connect(this, &QCheckBox::toggled, this, &ProfileTrustCheck::onToggled);
    retranslate();
    showProfile();
}

void ProfileTrustCheck::showProfile()
{
    const ScenarioProfile* profile = m_page.currentProfile();
    const QSignalBlocker blocker(this);
    setChecked(profile && profile->trusted);
    setEnabled(profile != nullptr);
}

void ProfileTrustCheck::onToggled(bool trusted)
{
    if (m_dialogs.busy() || !m_page.currentProfile()) {
        showProfile();
        return;
    }
    if (trusted &&
        !m_dialogs.confirmContinue(
            tr("Сценарии профиля \"%1\" получат доступ к файлам и программам компьютера: "
               "они смогут читать, изменять и удалять ваши файлы, запускать программы и "
               "загружать библиотеки. Разрешайте это только сценариям, которые вы написали сами "
               "или которым полностью доверяете.")
                .arg(m_page.currentProfile()->name))) {
        showProfile();
        return;
    }
    m_page.currentProfile()->trusted = trusted;
    m_page.saveProfiles();
    m_page.m_model->setLibrary(ScriptsModel::libraryFor(trusted));
}

void ProfileTrustCheck::retranslate()
{
    setText(tr("Сценарии этого профиля могут работать с файлами и программами"));
    setToolTip(tr("Без этой отметки сценарии не читают и не пишут файлы, не запускают программы "
                  "и не загружают библиотеки. Отметка действует со следующего включения "
                  "сценария."));
}

void ProfileTrustCheck::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QCheckBox::changeEvent(event);
}
