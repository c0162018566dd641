#include "FuzzEnvironment.h"

#include "ScriptedPrompter.h"
#include "core/DataDirectory.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QTemporaryDir>

namespace {

void silence(QtMsgType, const QMessageLogContext&, const QString&) {}

QString scratchBase()
{
    const QString requested = qEnvironmentVariable("CLAVITOR_FUZZ_SCRATCH");
    if (!requested.isEmpty()) {
        QDir().mkpath(requested);
        return requested;
    }
    // The targets write files on every run: a RAM disk spares the real one.
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    return shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
}

} // namespace

FuzzEnvironment& FuzzEnvironment::instance()
{
    static FuzzEnvironment environment;
    return environment;
}

FuzzEnvironment::FuzzEnvironment()
    : m_root(std::make_unique<QTemporaryDir>(scratchBase() + QStringLiteral("/clavitor-fuzz-XXXXXX")))
{
    if (!m_root->isValid())
        qFatal("no scratch folder: %s", qPrintable(m_root->errorString()));
    m_home = m_root->path() + QStringLiteral("/1/2/3/4/5/6/7/8");
    QDir().mkpath(m_home + QStringLiteral("/tmp"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_home + QStringLiteral("/data")));
    qputenv("TMPDIR", QFile::encodeName(m_home + QStringLiteral("/tmp")));
    qputenv("QT_QPA_PLATFORM", "offscreen");

    qInstallMessageHandler(&silence);
    QLoggingCategory::setFilterRules(QStringLiteral("*=false"));
    static int argc = 1;
    static char name[] = "clavitor-fuzz";
    static char* argv[] = {name, nullptr};
    m_application = new QApplication(argc, argv);
    m_prompter = std::make_unique<ScriptedPrompter>();
}

FuzzEnvironment::~FuzzEnvironment() = default;

QString FuzzEnvironment::root() const
{
    return m_root->path();
}

QString FuzzEnvironment::dataDirectory() const
{
    return QFileInfo(dataFilePath(QStringLiteral("x"))).path();
}

QString FuzzEnvironment::writeFile(const QString& name, const std::uint8_t* data,
                                   std::size_t size) const
{
    const QString path = m_home + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) !=
            static_cast<qint64>(size))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void FuzzEnvironment::clearDataDirectory() const
{
    QDir(dataDirectory()).removeRecursively();
    m_prompter->prompts.clear();
}
