#include "AutoclickerProfileCommands.h"

#include "AutoclickerFile.h"
#include "AutoclickerWidget.h"
#include "ui/prompts/Prompter.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

AutoclickerProfileCommands::AutoclickerProfileCommands(AutoclickerWidget& page) : m_page(page) {}

void AutoclickerProfileCommands::add()
{
    m_page.storeUi(false);
    const std::optional<QString> name =
        promptName(AutoclickerWidget::tr("Новый автокликер"),
                   AutoclickerWidget::tr("Введите название автокликера:"), QString(), -1);
    if (!name)
        return;
    appendProfile({*name, AutoclickerSettings()});
}

void AutoclickerProfileCommands::rename()
{
    AutoclickerProfiles& profiles = m_page.m_profiles;
    if (!profiles.current())
        return;
    if (profiles.isCurrentDefault()) {
        notice(AutoclickerWidget::tr("Профиль \"default\" нельзя переименовать."));
        return;
    }
    m_page.storeUi(false);
    const std::optional<QString> name =
        promptName(AutoclickerWidget::tr("Переименование автокликера"),
                   AutoclickerWidget::tr("Введите новое название автокликера:"),
                   profiles.current()->name, profiles.currentIndex);
    if (!name)
        return;
    profiles.current()->name = *name;
    finish();
}

void AutoclickerProfileCommands::duplicate()
{
    const AutoclickerProfiles& profiles = m_page.m_profiles;
    if (!profiles.current())
        return;
    m_page.storeUi(false);
    AutoclickerProfile copy = *profiles.current();
    copy.name = profiles.copyName(copy.name);
    appendProfile(copy);
}

void AutoclickerProfileCommands::remove()
{
    AutoclickerProfiles& profiles = m_page.m_profiles;
    if (!profiles.current())
        return;
    if (profiles.isCurrentDefault()) {
        notice(AutoclickerWidget::tr("Профиль \"default\" нельзя удалить."));
        return;
    }
    if (Prompter::message(
            Prompt::Kind::Question, &m_page, QString(),
            AutoclickerWidget::tr("Удалить автокликер \"%1\"?").arg(profiles.current()->name),
            QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    profiles.list.removeAt(profiles.currentIndex);
    profiles.currentIndex = std::min(profiles.currentIndex, int(profiles.list.size()) - 1);
    finish();
}

void AutoclickerProfileCommands::importProfile()
{
    m_page.storeUi(false);
    const QString path =
        Prompter::openFileName(&m_page, AutoclickerWidget::tr("Импорт автокликера"), QString(),
                               AutoclickerWidget::tr("Файлы JSON (*.json)"));
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        warn(AutoclickerWidget::tr("Не удалось открыть файл."));
        return;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        warn(AutoclickerWidget::tr("Файл автокликера поврежден."));
        return;
    }
    const AutoclickerProfile profile = AutoclickerFile::importedProfile(
        document.object(), AutoclickerWidget::tr("Новый автокликер"));
    if (!m_page.m_profiles.isFree(profile.name)) {
        warn(AutoclickerWidget::tr("Автокликер \"%1\" уже существует или недопустим.")
                 .arg(profile.name));
        return;
    }
    appendProfile(profile);
}

void AutoclickerProfileCommands::exportCurrent()
{
    const AutoclickerProfiles& profiles = m_page.m_profiles;
    if (!profiles.current())
        return;
    m_page.storeUi(true);
    QString path = Prompter::saveFileName(&m_page, AutoclickerWidget::tr("Экспорт автокликера"),
                                          profiles.current()->name + QStringLiteral(".json"),
                                          AutoclickerWidget::tr("Файлы JSON (*.json)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".json");
    const QByteArray bytes =
        AutoclickerFile::exportDocument(*profiles.current(), m_page.m_machine.isArmed());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        warn(AutoclickerWidget::tr("Не удалось сохранить файл."));
}

std::optional<QString> AutoclickerProfileCommands::promptName(const QString& title,
                                                              const QString& label,
                                                              const QString& initialText,
                                                              int excludedIndex)
{
    QString text = initialText;
    for (;;) {
        const std::optional<QString> answer = Prompter::text(&m_page, title, label, text);
        if (!answer)
            return std::nullopt;
        const QString name = answer->trimmed();
        if (name.isEmpty())
            warn(AutoclickerWidget::tr("Название автокликера не может быть пустым."));
        else if (AutoclickerProfiles::isReservedName(name))
            warn(AutoclickerWidget::tr("Название \"default\" зарезервировано."));
        else if (m_page.m_profiles.isTaken(name, excludedIndex))
            warn(AutoclickerWidget::tr("Автокликер с таким названием уже существует."));
        else
            return name;
        text = *answer;
    }
}

void AutoclickerProfileCommands::appendProfile(AutoclickerProfile profile)
{
    AutoclickerProfiles& profiles = m_page.m_profiles;
    profile.settings.enabled = m_page.m_machine.isArmed();
    profiles.list.append(profile);
    profiles.currentIndex = int(profiles.list.size()) - 1;
    finish();
}

void AutoclickerProfileCommands::finish()
{
    m_page.fillProfileSelector();
    m_page.selectProfile(m_page.m_profiles.currentIndex);
    m_page.saveProfiles();
}

void AutoclickerProfileCommands::warn(const QString& text)
{
    Prompter::message(Prompt::Kind::Warning, &m_page, QString(), text);
}

void AutoclickerProfileCommands::notice(const QString& text)
{
    Prompter::message(Prompt::Kind::Information, &m_page, QString(), text);
}
