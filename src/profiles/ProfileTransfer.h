#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <memory>

class QTemporaryDir;
class QWidget;

// What the export and the import of profiles share: their staging folder, their file copies
// and the form of their warnings.
class ProfileTransfer
{
    Q_DECLARE_TR_FUNCTIONS(ProfileTransfer)

public:
    // A fresh temporary folder, removed with all its contents when the pointer goes. Null,
    // after a warning, when it cannot be created.
    static std::unique_ptr<QTemporaryDir> createStagingDirectory(QWidget* parent);

    // Copies `source` to `target`, creating the folders it needs and replacing a file there.
    static bool copyReplacing(const QString& source, const QString& target, QString* error);

    // Every file below `directory` (hidden ones too) as paths relative to it, "/" separators.
    static QStringList filesBelow(const QString& directory);

    // A warning of a headline and detail lines, one per line; empty details are left out.
    static void warn(QWidget* parent, const QString& headline, const QStringList& details);
};
