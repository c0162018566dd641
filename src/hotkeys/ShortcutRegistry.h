#pragma once

#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>

// The program's own book of which owner holds which key combination. A combination held by
// one owner is refused to every other owner, so a conflict can be described to the user by
// the holder's name before the system is asked. An owner holds one combination at a time;
// its entries go when it is destroyed.
class ShortcutRegistry : public QObject
{
    Q_OBJECT

public:
    static ShortcutRegistry& instance();

    // Records sequence as owner's combination, described by ownerText, in place of the one it
    // held. False when another live owner holds it; *conflictText is then that owner's text.
    // An empty sequence releases the owner.
    bool claim(QObject* owner, const QKeySequence& sequence, const QString& ownerText,
               QString* conflictText = nullptr);
    // Whether a live owner outside ignoredOwners holds sequence; *ownerText is then its text.
    bool isInUse(const QKeySequence& sequence, const QSet<QObject*>& ignoredOwners = {},
                 QString* ownerText = nullptr) const;

    // Every combination a live owner holds.
    QList<QKeySequence> sequences() const;

public slots:
    // Forgets every combination owner holds.
    void release(QObject* owner);

private:
    ShortcutRegistry() = default;

    struct Entry
    {
        QPointer<QObject> owner; // null once the holder is destroyed
        QObject* holder;         // the same object, to recognise its entries after that
        QString ownerText;
        QKeySequence sequence;
    };

    void removeDeadEntries();

    QHash<QString, Entry> m_entries; // by the combination as the system identifies it
    QHash<QObject*, QSet<QString>> m_keysByOwner;
};
