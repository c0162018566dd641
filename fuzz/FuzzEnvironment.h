#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>

class QApplication;
class QTemporaryDir;
class ScriptedPrompter;

// What every fuzz target runs in, set up on first use: an offscreen application whose data
// directory and temporary folder lie deep inside a scratch folder of its own (on a RAM disk
// where there is one, or below $CLAVITOR_FUZZ_SCRATCH), a silent log, and prompts answered
// by ScriptedPrompter. The scratch folder goes when the process ends normally.
class FuzzEnvironment
{
public:
    static FuzzEnvironment& instance();

    // The scratch folder: nothing a target does may write anywhere else.
    QString root() const;
    // The folder of the program's data files (dataFilePath).
    QString dataDirectory() const;
    // Writes the bytes to a file of that name beside the data directory; returns its path.
    QString writeFile(const QString& name, const std::uint8_t* data, std::size_t size) const;
    // Removes everything in the data directory, so that each input starts afresh.
    void clearDataDirectory() const;
    // Answers every prompt; its record of prompts is emptied by clearDataDirectory().
    ScriptedPrompter& prompter() const { return *m_prompter; }

private:
    FuzzEnvironment();
    ~FuzzEnvironment();

    std::unique_ptr<QTemporaryDir> m_root;
    QString m_home; // deep below the root, so that a path climbing out still lands inside
    QApplication* m_application = nullptr; // kept to the end of the process
    std::unique_ptr<ScriptedPrompter> m_prompter;
};
