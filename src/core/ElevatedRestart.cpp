#include "ElevatedRestart.h"

#include "platform/Platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcElevatedRestart, "clavitor.elevation")

std::optional<QString> ElevatedRestart::handedDataDirectory(const QStringList& arguments)
{
    const qsizetype flag = arguments.indexOf(QLatin1String(kFlag));
    if (flag < 0 || flag + 1 >= arguments.size() || arguments.at(flag + 1).isEmpty())
        return std::nullopt;
    return arguments.at(flag + 1);
}

bool ElevatedRestart::isWanted(bool runElevated, const QStringList& arguments)
{
    return runElevated && !arguments.contains(QLatin1String(kFlag)) &&
           !platform::Platform::current().isElevated();
}

bool ElevatedRestart::start(const QString& dataDirectory)
{
    // One command-line string: the folder in quotes, as a path holds no quote of its own.
    const QString parameters = QStringLiteral("%1 \"%2\"")
                                   .arg(QLatin1String(kFlag), QDir::toNativeSeparators(dataDirectory));
    platform::Platform& system = platform::Platform::current();
    const DWORD error = system.startElevated(
        QDir::toNativeSeparators(QCoreApplication::applicationFilePath()).toStdWString(),
        parameters.toStdWString(), nullptr);
    if (error == ERROR_SUCCESS)
        return true;
    if (error == ERROR_CANCELLED) {
        qCWarning(lcElevatedRestart).noquote()
            << "Запуск от имени администратора отменён: Clavitor работает без прав администратора";
    } else {
        const QString reason = QString::fromStdWString(system.formatMessage(error)).trimmed();
        qCWarning(lcElevatedRestart).noquote()
            << QStringLiteral("Clavitor не удалось перезапустить от имени администратора (%1): он "
                              "работает без прав администратора")
                   .arg(reason.isEmpty() ? QStringLiteral("ошибка %1").arg(error) : reason);
    }
    return false;
}
