#include "DriverInstaller.h"

#include "DriverInstallerSource.h"
#include "InstallerDownload.h"
#include "InstallerProcess.h"
#include "core/DataDirectory.h"
#include "input/InputSender.h"
#include "ui/prompts/Prompter.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QWidget>

#include <algorithm>

Q_LOGGING_CATEGORY(lcDriverInstaller, "clavitor.settings.driver")

namespace {

const QString kTitle = QStringLiteral("Clavitor");

// Installers let go of while still running: their page went, or the driver was found before
// they ended. Destroying a plain process object would kill the installer, so these are kept to
// the end of the program.
QList<InstallerProcess*>& installersLeftRunning()
{
    static auto* processes = new QList<InstallerProcess*>;
    return *processes;
}

bool hasDigest(const QString& path, const QByteArray& sha256Hex)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return false;
    return hash.result().toHex() == sha256Hex.trimmed().toLower();
}

} // namespace

DriverInstaller::DriverInstaller(QWidget* page)
    : QObject(page), m_page(page), m_source(systemSource())
{}

DriverInstaller::~DriverInstaller()
{
    discardInstaller();
}

std::optional<DriverInstaller::Source> DriverInstaller::sourceOf(const QUrl& url,
                                                                 const QByteArray& sha256)
{
    const QByteArray digest = sha256.trimmed();
    const bool placeholder =
        std::all_of(digest.begin(), digest.end(), [](char digit) { return digit == '0'; });
    if (placeholder)
        return std::nullopt;
    return Source{url, digest};
}

bool DriverInstaller::isMadeForThisSystem()
{
#ifdef Q_OS_WIN
    return true;
#else
    return false;
#endif
}

std::optional<DriverInstaller::Source> DriverInstaller::systemSource()
{
    if (!isMadeForThisSystem())
        return std::nullopt;
    return sourceOf(QUrl(QString::fromLatin1(kDriverInstallerUrl)),
                    QByteArray(kDriverInstallerSha256));
}

bool DriverInstaller::ensureDriver()
{
    if (isVirtualMouseDriverPresent()) {
        qCInfo(lcDriverInstaller) << "Драйвер уже установлен";
        m_installerRunning = false;
        // An installer still open (on its last page, say) runs to its end unattended.
        discardInstaller();
        return true;
    }
    if (m_installer) {
        if (m_installer->isRunning()) {
            Prompter::message(Prompt::Kind::Information, m_page, kTitle,
                              tr("Установка драйвера уже выполняется. Завершите установку и "
                                 "повторите попытку."));
            return false;
        }
        discardInstaller();
    }
    // Nothing to download: a build for another system, or one whose installer is not
    // published yet.
    if (!m_source) {
        Prompter::message(Prompt::Kind::Information, m_page, kTitle,
                          tr("Драйвер виртуальной мыши недоступен в этой сборке Clavitor."));
        return false;
    }
    if (Prompter::message(Prompt::Kind::Question, m_page, kTitle,
                          tr("Драйвер не найден. Скачать и установить его сейчас?"),
                          QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return false;

    const QString path = dataFilePath(QStringLiteral("installer.exe"));
    if (!obtainInstaller(path))
        return false;

    // On Windows with the administrator's rights, which the installer needs: the system asks
    // the user first.
    InstallerProcess* process = InstallerProcess::create(this);
    connect(process, &InstallerProcess::finished, this, &DriverInstaller::onInstallerFinished);
    QString error;
    if (!process->start(path, &error)) {
        qCWarning(lcDriverInstaller).noquote() << "Установщик драйвера не запущен:" << error;
        critical(tr("Не удалось запустить установщик драйвера."));
        process->disconnect(this);
        process->deleteLater();
        return false;
    }
    m_installer = process;
    m_installerRunning = true;
    Prompter::message(Prompt::Kind::Information, m_page, kTitle,
                      tr("Установщик драйвера запущен. После завершения установки выберите "
                         "режим \"Драйвер\" снова."));
    return false;
}

bool DriverInstaller::obtainInstaller(const QString& path)
{
    if (hasDigest(path, m_source->sha256))
        return true;
    // A file left by an earlier, damaged or tampered-with download is fetched again.
    if (QFileInfo::exists(path))
        removeUntrusted(path);
    QString error;
    if (!InstallerDownload::run(m_page, m_source->url, path, &error)) {
        critical(tr("Не удалось скачать установщик драйвера: %1").arg(error));
        return false;
    }
    if (hasDigest(path, m_source->sha256))
        return true;
    removeUntrusted(path);
    critical(tr("Не удалось скачать установщик драйвера: %1")
                 .arg(tr("контрольная сумма файла не совпадает с ожидаемой")));
    return false;
}

void DriverInstaller::removeUntrusted(const QString& path)
{
    QFile::remove(path);
    qCWarning(lcDriverInstaller) << "Установщик драйвера удалён: контрольная сумма не совпала";
}

void DriverInstaller::onInstallerFinished(int exitCode)
{
    qCInfo(lcDriverInstaller) << "Установщик драйвера завершился с кодом" << exitCode;
    m_installerRunning = false;
    if (isVirtualMouseDriverPresent()) {
        Prompter::message(Prompt::Kind::Information, m_page, kTitle,
                          tr("Драйвер установлен. Выберите режим \"Драйвер\" снова."));
    } else {
        Prompter::message(Prompt::Kind::Warning, m_page, kTitle,
                          tr("Драйвер по-прежнему отсутствует. Запустите установщик ещё раз при "
                             "необходимости."));
    }
    discardInstaller();
    emit installerFinished();
}

void DriverInstaller::discardInstaller()
{
    if (!m_installer)
        return;
    m_installer->disconnect(this);
    if (!m_installer->isRunning()) {
        m_installer->deleteLater();
    } else {
        // Destroying a plain process object would kill the installer.
        m_installer->setParent(nullptr);
        installersLeftRunning().append(m_installer);
    }
    m_installer = nullptr;
}

void DriverInstaller::critical(const QString& text) const
{
    Prompter::message(Prompt::Kind::Critical, m_page, kTitle, text);
}
