#pragma once

// Helpers of the log page's tests: lines fed to a journal, and the page's controls and rows as
// a user sees them.

#include "log/LogJournal.h"
#include "logpage/LogModel.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QDateTime>
#include <QTreeView>
#include <QWidget>

inline LogEntry logLine(int second, LogKind kind, const QString& scenario, const QString& text,
                        const QString& detail = {})
{
    LogEntry entry;
    entry.time = QDateTime(QDate(2024, 5, 1), QTime(12, 0, second));
    entry.kind = kind;
    entry.scenario = scenario;
    entry.text = text;
    entry.detail = detail;
    return entry;
}

// Six lines of several kinds and scenarios; the error carries a traceback of three lines.
inline void feedSample(LogJournal& journal)
{
    journal.append(logLine(1, LogKind::Activation, "recoil", "Сценарий активирован"));
    journal.append(logLine(2, LogKind::Script, "recoil", "shot 1"));
    journal.append(logLine(3, LogKind::Error, "recoil", "attempt to call a nil value",
                           "stack traceback:\n[C]: in function 'Foo'\n"
                           "recoil.lua:12: in function 'OnEvent'"));
    journal.append(logLine(4, LogKind::Script, "Rapid Fire", "SHOT 2"));
    journal.append(logLine(5, LogKind::Following, "", "Профиль Work стал текущим"));
    journal.append(logLine(6, LogKind::Hotkey, "", "Alt+1 занята другой программой"));
    journal.flush();
}

template <typename T = QWidget> T* control(const QWidget& page, const char* name)
{
    T* found = page.findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

inline QTreeView* logView(const QWidget& page)
{
    return control<QTreeView>(page, "logView");
}

// The message column of every top-level row shown.
inline QStringList shownTexts(const QWidget& page)
{
    const QAbstractItemModel* model = logView(page)->model();
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, LogModel::TextColumn).data().toString();
    return texts;
}

inline QStringList comboItems(const QWidget& page)
{
    const auto* combo = control<QComboBox>(page, "scenarioCombo");
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}
