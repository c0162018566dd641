#pragma once

#include "input/MovementModifiers.h"

#include <QString>

#include <optional>
#include <utility>

class QWidget;

// The questions and warnings of the scenario page. While one of its dialogs is open the page is
// busy: a command that reaches it meanwhile (a click or a hotkey delivered by the dialog's event
// loop) does nothing.
class PageDialogs
{
public:
    explicit PageDialogs(QWidget* parent) : m_parent(parent) {}

    static const QString kTitle;

    bool busy() const { return m_busy; }
    QWidget* parent() const { return m_parent; }

    // Runs `ask`, which shows a dialog, with the page busy; returns what it returns.
    template <typename Ask> auto whileBusy(Ask&& ask)
    {
        const Busy busy(m_busy);
        return std::forward<Ask>(ask)();
    }

    void warn(const QString& text);
    // A warning with "Продолжить" and "Отмена"; true on "Продолжить".
    bool confirmContinue(const QString& text);
    // A question with Yes and No (No by default); true on Yes.
    bool confirm(const QString& question);
    std::optional<MovementModifiers> editModifiers(const MovementModifiers& current);

private:
    class Busy
    {
    public:
        explicit Busy(bool& busy) : m_busy(busy), m_before(std::exchange(busy, true)) {}
        ~Busy() { m_busy = m_before; }
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;

    private:
        bool& m_busy;
        bool m_before;
    };

    QWidget* m_parent;
    bool m_busy = false;
};
