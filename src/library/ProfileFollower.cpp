#include "ProfileFollower.h"

#include "ForegroundWatch.h"
#include "ProgramMatch.h"
#include "ScriptsListWidget.h"
#include "platform/Platform.h"

namespace {

bool mouseButtonHeld()
{
    platform::Platform& desktop = platform::Platform::current();
    for (const int button : {VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_XBUTTON1, VK_XBUTTON2}) {
        if (desktop.getAsyncKeyState(button) & 0x8000)
            return true;
    }
    return false;
}

qsizetype indexOfName(const QList<ScenarioProfile>& profiles, const QString& name)
{
    for (qsizetype i = 0; i < profiles.size(); ++i) {
        if (profiles[i].name == name)
            return i;
    }
    return -1;
}

} // namespace

ProfileFollower::ProfileFollower(ScriptsListWidget& page) : QObject(&page), m_page(page)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &ProfileFollower::onSettled);
    m_retry.setSingleShot(true);
    m_retry.setInterval(kRetryMs);
    connect(&m_retry, &QTimer::timeout, this, &ProfileFollower::switchWhenFree);
    connect(&page, &ScriptsListWidget::sigProfileChanged, this, &ProfileFollower::onProfileChanged);
    connect(&page, &ScriptsListWidget::sigFollowingChanged, this, &ProfileFollower::setEnabled);
    connect(&page.foregroundWatch(), &ForegroundWatch::programInFront, this,
            &ProfileFollower::onProgramInFront);
}

void ProfileFollower::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    m_settle.stop();
    m_retry.stop();
    m_inFront = {};
    m_followedName.clear();
    m_returnName.clear();
    m_page.foregroundWatch().want(this, enabled);
}

void ProfileFollower::onProgramInFront(const platform::ForegroundProgram& program)
{
    if (!m_enabled)
        return;
    m_pending = program;
    m_settle.start();
}

void ProfileFollower::onSettled()
{
    if (m_pending.names == m_inFront.names)
        return; // another window of the same program
    m_inFront = m_pending;
    switchWhenFree();
}

void ProfileFollower::switchWhenFree()
{
    if (mouseButtonHeld()) {
        m_retry.start();
        return;
    }
    const QList<ScenarioProfile>& profiles = m_page.profiles();
    const qsizetype target = profileForProgram(profiles, m_inFront);
    if (target >= 0) {
        const QString returnName = m_followedName.isEmpty() && m_page.currentProfileIndex() >= 0
                                       ? profiles[m_page.currentProfileIndex()].name
                                       : m_returnName;
        if (!switchTo(target))
            return;
        m_returnName = returnName;
        m_followedName = profiles[target].name;
    } else if (!m_followedName.isEmpty()) {
        const qsizetype back = indexOfName(profiles, m_returnName);
        if (back >= 0 && !switchTo(back))
            return;
        m_followedName.clear();
        m_returnName.clear();
    }
}

bool ProfileFollower::switchTo(qsizetype index)
{
    m_switching = true;
    const bool switched = m_page.followProgram(index);
    m_switching = false;
    if (!switched)
        m_retry.start(); // a dialog of the page is open: once it closes
    return switched;
}

void ProfileFollower::onProfileChanged()
{
    // A profile picked by hand is the user's until the next program change.
    if (!m_switching) {
        m_followedName.clear();
        m_returnName.clear();
    }
}
