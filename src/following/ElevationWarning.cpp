#include "ElevationWarning.h"

#include "ForegroundWatch.h"
#include "overlay/OverlayNotice.h"
#include "platform/Platform.h"
#include "profiles/ProgramMatch.h"

#include <QCoreApplication>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcElevation, "clavitor.elevation")

ElevationWarning::ElevationWarning(ForegroundWatch& watch, QObject* parent) : QObject(parent)
{
    connect(&watch, &ForegroundWatch::programInFront, this, &ElevationWarning::check);
}

void ElevationWarning::onScenarioActivationChanged(bool active)
{
    if (active)
        check(platform::Platform::current().programInFront());
}

void ElevationWarning::check(const platform::ForegroundProgram& program)
{
    if (!program.elevated || program.processId == QCoreApplication::applicationPid() ||
        platform::Platform::current().isElevated())
        return;
    const QString name = listedNameOf(program);
    if (name.isEmpty() || m_told.contains(name.toLower()))
        return;
    m_told.insert(name.toLower());
    const QString text = tr("%1 запущена от имени администратора: Clavitor не может управлять "
                            "ей. Запустите Clavitor от имени администратора.")
                             .arg(name);
    qCWarning(lcElevation).noquote() << text;
    OverlayNotice::instance().show(text, kNoticeMs);
}
