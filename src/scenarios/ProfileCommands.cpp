#include "ProfileCommands.h"

#include "PageDialogs.h"
#include "ScriptsListWidget.h"
#include "SingleScriptWidget.h"
#include "core/SettingsFile.h"
#include "engine/ScriptsModel.h"
#include "profiles/ProfileExporter.h"
#include "profiles/ProfileImporter.h"
#include "profiles/ProfileStore.h"
#include "ui/prompts/Prompter.h"
#include "ui_ScriptsListWidget.h"

ProfileCommands::ProfileCommands(ScriptsListWidget& page, PageDialogs& dialogs)
    : m_page(page), m_dialogs(dialogs)
{}

ProfileLibrary& ProfileCommands::library() const
{
    return m_page.m_library;
}

void ProfileCommands::add()
{
    if (m_dialogs.busy())
        return;
    const std::optional<QString> name = m_dialogs.whileBusy([&] {
        return Prompter::text(m_dialogs.parent(), PageDialogs::kTitle,
                              ScriptsListWidget::tr("Введите имя профиля"));
    });
    if (!name)
        return;
    const QString trimmed = name->trimmed();
    QString problem = library().nameProblem(trimmed);
    if (problem.isEmpty())
        library().add(trimmed, &problem);
    if (!problem.isEmpty()) {
        m_dialogs.warn(problem);
        return;
    }
    showAppendedProfile();
}

void ProfileCommands::rename()
{
    ScenarioProfile* profile = m_page.currentProfile();
    if (m_dialogs.busy() || !profile)
        return;
    if (isDefaultProfileName(profile->name)) {
        m_dialogs.warn(ScriptsListWidget::tr("Нельзя переименовать профиль по умолчанию."));
        return;
    }
    const qsizetype index = m_page.m_currentIndex;
    const std::optional<QString> name = m_dialogs.whileBusy([&] {
        return Prompter::text(m_dialogs.parent(), PageDialogs::kTitle,
                              ScriptsListWidget::tr("Введите новое имя профиля"), profile->name);
    });
    if (!name || index != m_page.m_currentIndex)
        return;
    const QString trimmed = name->trimmed();
    const QString previousName = library()[index].name;
    QString problem = library().nameProblem(trimmed, index);
    if (problem.isEmpty() && trimmed != library()[index].name) {
        m_page.takePendingEdits();
        if (library().rename(index, trimmed, &problem)) {
            const ScenarioProfile& renamed = library()[index];
            m_page.m_model->setProfileFolder(profileDirectory(renamed.name));
            for (int i = 0; i < renamed.scenarios.size(); ++i) {
                m_page.m_model->setData(m_page.m_model->index(i), renamed.scenarios[i].file,
                                        ScriptsModel::ScriptPathRole);
                m_page.row(i)->setPath(renamed.scenarios[i].file);
            }
            m_page.ui->profileComboBox->setItemText(static_cast<int>(index), trimmed);
            m_page.saveProfiles();
            // The profile to show at the next start keeps up with its name; a profile that
            // following made current is not taken for it.
            AppSettings settings = loadSettings();
            if (settings.lastProfile == previousName) {
                settings.lastProfile = trimmed;
                saveSettings(settings);
            }
            m_page.publishOverlayList();
        }
    }
    if (!problem.isEmpty())
        m_dialogs.warn(problem);
}

void ProfileCommands::configure()
{
    ScenarioProfile* profile = m_page.currentProfile();
    if (m_dialogs.busy() || !profile)
        return;
    const qsizetype index = m_page.m_currentIndex;
    const std::optional<MovementModifiers> edited = m_dialogs.editModifiers(profile->modifier);
    if (!edited || index != m_page.m_currentIndex)
        return;
    m_page.currentProfile()->modifier = *edited;
    m_page.publishProfileModifiers();
    m_page.saveProfiles();
}

void ProfileCommands::duplicate()
{
    if (m_dialogs.busy() || !m_page.currentProfile())
        return;
    m_page.takePendingEdits();
    QString error;
    if (!library().duplicate(m_page.m_currentIndex, &error)) {
        m_dialogs.warn(error);
        return;
    }
    showAppendedProfile();
}

void ProfileCommands::showAppendedProfile()
{
    const qsizetype index = library().size() - 1;
    {
        const QSignalBlocker blocker(m_page.ui->profileComboBox);
        m_page.ui->profileComboBox->addItem(library()[index].name);
    }
    m_page.switchToProfile(index);
    m_page.saveProfiles();
}

void ProfileCommands::remove()
{
    ScenarioProfile* profile = m_page.currentProfile();
    if (m_dialogs.busy() || !profile)
        return;
    if (isDefaultProfileName(profile->name)) {
        m_dialogs.warn(ScriptsListWidget::tr("Нельзя удалить профиль по умолчанию"));
        return;
    }
    const qsizetype index = m_page.m_currentIndex;
    const bool confirmed = m_dialogs.confirm(ScriptsListWidget::tr("Удалить профиль?"));
    if (!confirmed || index != m_page.m_currentIndex)
        return;

    m_page.m_descriptionTimer.stop();
    QString error;
    if (!library().remove(index, &error)) {
        m_dialogs.warn(error);
        return;
    }
    // The deleted profile's pending edits go with it: nothing of it is taken any more.
    m_page.m_currentIndex = -1;
    {
        const QSignalBlocker blocker(m_page.ui->profileComboBox);
        m_page.ui->profileComboBox->removeItem(static_cast<int>(index));
    }
    if (!m_page.switchToProfile(std::min(index, library().size() - 1)))
        m_page.showNoProfile();
    m_page.saveProfiles();
}

void ProfileCommands::exportCurrent()
{
    ScenarioProfile* profile = m_page.currentProfile();
    if (m_dialogs.busy() || !profile)
        return;
    m_page.takePendingEdits();
    m_dialogs.whileBusy([&] { ProfileExporter::run(*profile, m_dialogs.parent()); });
}

void ProfileCommands::importArchive()
{
    if (m_dialogs.busy())
        return;
    m_dialogs.whileBusy([&] {
        ProfileImporter importer(m_dialogs.parent());
        const qsizetype added = importer.run(library().profiles());
        if (added == 0)
            return;
        {
            const QSignalBlocker blocker(m_page.ui->profileComboBox);
            for (qsizetype i = library().size() - added; i < library().size(); ++i)
                m_page.ui->profileComboBox->addItem(library()[i].name);
        }
        m_page.saveProfiles();
        importer.reportOutcome();
    });
}
