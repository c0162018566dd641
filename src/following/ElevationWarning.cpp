#include "ElevationWarning.h"

#include "ForegroundWatch.h"
#include "overlay/OverlayFeed.h"
#include "platform/Platform.h"
#include "profiles/ProgramMatch.h"

#include <QCoreApplication>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcElevation, "clavitor.elevation")

ElevationWarning::ElevationWarning(ForegroundWatch& watch, QObject* parent) : QObject(parent)
{
    m_clear.setSingleShot(true);
    m_clear.setInterval(kNoticeMs);
    connect(&m_clear, &QTimer::timeout, this, [] { OverlayFeed::current().setNotice({}); });
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
    OverlayFeed::current().setNotice(text);
    m_clear.start();
}
