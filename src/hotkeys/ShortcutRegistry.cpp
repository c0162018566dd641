#include "ShortcutRegistry.h"

#include "KeyMapping.h"

#include <QKeySequence>

namespace {

// Combinations are told apart as the system tells them apart.
QString keyOf(const QKeySequence& sequence)
{
    return KeyMapping::systemIdentity(sequence);
}

} // namespace

ShortcutRegistry& ShortcutRegistry::instance()
{
    static ShortcutRegistry registry;
    return registry;
}

bool ShortcutRegistry::claim(QObject* owner, const QKeySequence& sequence, const QString& ownerText,
                             QString* conflictText)
{
    if (!owner)
        return false;
    const QString key = keyOf(sequence);
    if (key.isEmpty()) {
        release(owner);
        return true;
    }
    removeDeadEntries();

    const auto existing = m_entries.find(key);
    if (existing != m_entries.end() && existing->holder != owner) {
        if (conflictText)
            *conflictText = existing->ownerText;
        return false;
    }
    if (existing == m_entries.end()) {
        release(owner); // one combination per owner
        m_entries.insert(key, {owner, owner, ownerText, sequence});
    } else {
        existing->ownerText = ownerText;
    }
    m_keysByOwner[owner].insert(key);
    connect(owner, &QObject::destroyed, this, &ShortcutRegistry::release, Qt::UniqueConnection);
    return true;
}

void ShortcutRegistry::release(QObject* owner)
{
    if (!owner)
        return;
    const QSet<QString> keys = m_keysByOwner.take(owner);
    for (const QString& key : keys) {
        const auto entry = m_entries.constFind(key);
        if (entry != m_entries.constEnd() && entry->holder == owner)
            m_entries.erase(entry);
    }
}

bool ShortcutRegistry::isInUse(const QKeySequence& sequence, const QSet<QObject*>& ignoredOwners,
                               QString* ownerText) const
{
    const auto entry = m_entries.constFind(keyOf(sequence));
    if (entry == m_entries.constEnd() || entry->owner.isNull() ||
        ignoredOwners.contains(entry->holder))
        return false;
    if (ownerText)
        *ownerText = entry->ownerText;
    return true;
}

QList<QKeySequence> ShortcutRegistry::sequences() const
{
    QList<QKeySequence> held;
    for (const Entry& entry : m_entries) {
        if (!entry.owner.isNull())
            held.append(entry.sequence);
    }
    return held;
}

void ShortcutRegistry::removeDeadEntries()
{
    for (auto entry = m_entries.begin(); entry != m_entries.end();) {
        if (entry->owner.isNull()) {
            m_keysByOwner.remove(entry->holder);
            entry = m_entries.erase(entry);
        } else {
            ++entry;
        }
    }
}
