#include "ProfileFollower.h"

#include "FollowedPage.h"
#include "ForegroundWatch.h"
#include "engine/ScriptData.h"
#include "engine/ScriptsModel.h"
#include "platform/Platform.h"
#include "profiles/ProgramMatch.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcFollowing, "clavitor.following")

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

ProfileFollower::ProfileFollower(FollowedPage& page, QObject* parent)
    : QObject(parent), m_page(page)
{
    m_retry.setSingleShot(true);
    m_retry.setInterval(kRetryMs);
    connect(&m_retry, &QTimer::timeout, this, &ProfileFollower::switchWhenFree);
    connect(&page.foregroundWatch(), &ForegroundWatch::programInFront, this,
            &ProfileFollower::onProgramInFront);
}

void ProfileFollower::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    m_retry.stop();
    m_inFront = {};
    m_followedName.clear();
    m_returnName.clear();
    m_leftActive.clear();
    m_page.foregroundWatch().want(this, enabled);
}

void ProfileFollower::onProgramInFront(const platform::ForegroundProgram& program)
{
    if (!m_enabled || program.names == m_inFront.names)
        return; // another window of the same program
    m_inFront = program;
    m_heldSince.invalidate();
    switchWhenFree();
}

void ProfileFollower::switchWhenFree()
{
    if (mouseButtonHeld()) {
        if (!m_heldSince.isValid())
            m_heldSince.start();
        if (!m_heldSince.hasExpired(kHeldButtonWaitMs)) {
            m_retry.start();
            return;
        }
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
    const qsizetype leaving = m_page.currentProfileIndex();
    const ScriptsModel* model = m_page.scriptsModel();
    const int activeRow = model->activeRow();
    const LeftScenario left{activeRow,
                            activeRow >= 0 ? model->scriptAt(activeRow)->path : QString()};
    const QString leavingName = leaving >= 0 ? m_page.profiles()[leaving].name : QString();

    m_switching = true;
    const bool switched = m_page.followProgram(index);
    if (switched && leaving != index) {
        const QString name = m_page.profiles()[index].name;
        const bool listed = profileForProgram(m_page.profiles(), m_inFront) == index;
        qCInfo(lcFollowing).noquote()
            << (listed ? QStringLiteral("Профиль «%1» выбран: впереди %2")
                       : QStringLiteral("Профиль «%1» выбран снова: впереди %2"))
                   .arg(name, listedNameOf(m_inFront));
        if (left.row >= 0)
            m_leftActive.insert(leavingName, left);
        const LeftScenario back = m_leftActive.take(m_page.profiles()[index].name);
        ScriptsModel* current = m_page.scriptsModel();
        if (back.row >= 0 && back.row < current->rowCount() &&
            current->scriptAt(back.row)->path == back.file)
            current->activateRow(back.row);
    }
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
        m_leftActive.clear();
    }
}

void ProfileFollower::onScenarioActivationChanged()
{
    // The user's own activation or deactivation outweighs what following remembered.
    if (!m_switching)
        m_leftActive.clear();
}
