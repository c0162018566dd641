#include "HotkeyAssignment.h"

#include "QGlobalShortcut.h"
#include "ShortcutRegistry.h"
#include "ui/prompts/Prompter.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcHotkeys, "clavitor.hotkeys")

HotkeyAssignment HotkeyAssignment::apply(QGlobalShortcut& shortcut, QObject* owner,
                                         const QString& ownerText, const QKeySequence& sequence)
{
    const HotkeyAssignment result = assign(shortcut, owner, ownerText, sequence);
    if (!result.succeeded())
        qCWarning(lcHotkeys).noquote()
            << QStringLiteral("Горячая клавиша %1 не назначена (%2): %3")
                   .arg(sequence.toString(QKeySequence::PortableText), ownerText,
                        result.status() == TakenInProgram
                            ? QStringLiteral("её держит %1").arg(result.detail())
                            : QStringLiteral("система отказала %1").arg(result.detail()))
                   .trimmed();
    return result;
}

HotkeyAssignment HotkeyAssignment::assign(QGlobalShortcut& shortcut, QObject* owner,
                                          const QString& ownerText, const QKeySequence& sequence)
{
    ShortcutRegistry& registry = ShortcutRegistry::instance();
    if (sequence.isEmpty()) {
        registry.release(owner);
        shortcut.unsetShortcut();
        return {Assigned, sequence, {}};
    }

    const QKeySequence previous = shortcut.keySequence();
    QString holder;
    if (!registry.claim(owner, sequence, ownerText, &holder))
        return {TakenInProgram, sequence, holder};
    if (shortcut.setShortcut(sequence))
        return {Assigned, sequence, {}};

    const QString reason = shortcut.errorText();
    registry.release(owner);
    if (previous.isEmpty()) {
        shortcut.unsetShortcut();
    } else if (registry.claim(owner, previous, ownerText) && !shortcut.setShortcut(previous)) {
        registry.release(owner); // not held after all: free for the other owners
    }
    return {RefusedBySystem, sequence, reason};
}

QString HotkeyAssignment::failureText() const
{
    const QString combination = m_sequence.toString(QKeySequence::NativeText);
    switch (m_status) {
    case TakenInProgram:
        if (m_detail.isEmpty())
            return {};
        return tr("Горячая клавиша %1 уже используется: %2.").arg(combination, m_detail);
    case RefusedBySystem:
        return tr("Не удалось установить горячую клавишу %1. %2")
            .arg(combination, refusalReason(m_detail));
    case Assigned:
        break;
    }
    return {};
}

void HotkeyAssignment::report(QWidget* parent, const QString& title) const
{
    const QString text = failureText();
    if (!text.isEmpty())
        Prompter::message(Prompt::Kind::Warning, parent, title, text);
}

QString HotkeyAssignment::refusalReason(const QString& systemText)
{
    const QString reason = systemText.trimmed();
    return reason.isEmpty() ? tr("Возможно, сочетание занято другой программой.") : reason;
}
