#pragma once

#include <QFileSystemWatcher>
#include <QHash>
#include <QLoggingCategory>
#include <QObject>
#include <QString>

// The journal's category for errors of scenarios.
Q_DECLARE_LOGGING_CATEGORY(lcEngine)

// The scenarios whose last activation or OnEvent call failed, by file: each error is logged
// with the stack it happened in, and stays marked until the file changes or the scenario is
// activated without error. One for the program: the marks outlive the profile's model.
class ScenarioFailures : public QObject
{
    Q_OBJECT

public:
    static ScenarioFailures& instance();
    explicit ScenarioFailures(QObject* parent = nullptr);

    // Logs the error of the scenario in the file at path, with its traceback folded under it
    // (lines separated by '\n'; may be empty), and marks the file.
    void report(const QString& path, const QString& message, const QString& traceback);
    // The scenario ran without error: its mark goes.
    void clear(const QString& path);
    // The message of the file's mark; empty when it has none.
    QString errorOf(const QString& path) const { return m_errors.value(path); }

    // The line of the script an error message names (the first "name:N:" in it, else in the
    // traceback); 0 when neither names one.
    static int lineOf(const QString& message, const QString& traceback);

signals:
    // The file's mark appeared or went.
    void markChanged(const QString& path);
    // An error of the scenario named, at the line of its script (0: not known).
    void failed(const QString& scenario, int line);

private:
    void unmark(const QString& path);

    QHash<QString, QString> m_errors;
    QFileSystemWatcher m_files;
};
