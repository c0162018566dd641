#pragma once

#include <QCoreApplication>
#include <QKeySequence>
#include <QString>

class QGlobalShortcut;
class QObject;
class QWidget;

// Gives an owner's shortcut a new combination the way every hotkey owner of the program
// does: the combination is first claimed in the shortcut registry, so that a conflict with
// another owner is caught before the system is asked, then registered with the system. A
// refused combination leaves the combination the shortcut had before in place; an empty one
// gives the owner's combination up. A refusal is logged for the journal.
class HotkeyAssignment
{
    Q_DECLARE_TR_FUNCTIONS(HotkeyAssignment)

public:
    enum Status
    {
        Assigned = 0,        // registered, or given up for an empty sequence
        TakenInProgram = 1,  // another owner of the program holds it; detail() names it
        RefusedBySystem = 2, // the system refused it; detail() says why
    };

    static HotkeyAssignment apply(QGlobalShortcut& shortcut, QObject* owner,
                                  const QString& ownerText, const QKeySequence& sequence);
    // An outcome told by its parts, as an owner that assigns through another object (the
    // overlay controller) receives them, so that it reports it with the same texts.
    HotkeyAssignment(Status status, const QKeySequence& sequence, const QString& detail)
        : m_status(status), m_sequence(sequence), m_detail(detail)
    {}

    Status status() const { return m_status; }
    bool succeeded() const { return m_status == Assigned; }
    // The holder's description, or the system's reason (may be empty).
    QString detail() const { return m_detail; }

    // What the user is told of a failure: "Горячая клавиша %1 уже используется: %2." or
    // "Не удалось установить горячую клавишу %1. %2", with the combination in native text.
    // Empty for a success, and for a conflict whose holder has no description.
    QString failureText() const;
    // Shows failureText() in a warning box, when there is one.
    void report(QWidget* parent, const QString& title = QStringLiteral("Clavitor")) const;

    // The system's reason for a refusal as the user reads it: the reason given, or a guess.
    static QString refusalReason(const QString& systemText);

private:
    // apply, without the log line of a refusal.
    static HotkeyAssignment assign(QGlobalShortcut& shortcut, QObject* owner,
                                   const QString& ownerText, const QKeySequence& sequence);

    Status m_status;
    QKeySequence m_sequence;
    QString m_detail;
};
