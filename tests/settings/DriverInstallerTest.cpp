#include "FakeHidApi.h"
#include "LocalHttpsServer.h"
#include "ScriptedPrompter.h"
#include "TestRegistry.h"

#include "core/DataDirectory.h"
#include "settings/DriverInstaller.h"
#include "settings/InstallerDownload.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace std::chrono_literals;

namespace {

const QString kQuestion = QStringLiteral("Драйвер не найден. Скачать и установить его сейчас?");
const QString kUnavailable =
    QStringLiteral("Драйвер виртуальной мыши недоступен в этой сборке Clavitor.");
const QString kMismatch = QStringLiteral("Не удалось скачать установщик драйвера: контрольная "
                                         "сумма файла не совпадает с ожидаемой");
const QString kNotStarted = QStringLiteral("Не удалось запустить установщик драйвера.");
const QString kStarted = QStringLiteral("Установщик драйвера запущен. После завершения установки "
                                        "выберите режим \"Драйвер\" снова.");

QString installerPath()
{
    return dataFilePath(QStringLiteral("installer.exe"));
}

QByteArray sha256(const QByteArray& data)
{
    return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex();
}

void writeFile(const QString& path, const QByteArray& content,
               QFileDevice::Permissions permissions = QFileDevice::ReadOwner |
                                                      QFileDevice::WriteOwner)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
    file.close();
    file.setPermissions(permissions);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// An installer that waits until "<itself>.done" exists, then leaves "<itself>.finished".
const QByteArray kWaitingInstaller = "#!/bin/sh\n"
                                     "while [ ! -e \"$0.done\" ]; do sleep 0.02; done\n"
                                     "touch \"$0.finished\"\n";

QStringList promptTexts(const ScriptedPrompter& prompter)
{
    QStringList texts;
    for (const Prompt& prompt : prompter.prompts)
        texts.append(prompt.text);
    return texts;
}

} // namespace

class DriverInstallerTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        for (const char* suffix : {"", ".done", ".finished"})
            QFile::remove(installerPath() + QLatin1String(suffix));
    }

    void downloadsOnlyOverHttpsAndKeepsOnlyWholeFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("succeeds");
        QTest::addColumn<QString>("error"); // beginning of the error text
        QTest::newRow("complete body") << "body" << true << "";
        QTest::newRow("not found") << "404" << false << "Error transferring";
        QTest::newRow("nobody listening") << "closed port" << false << "Connection refused";
        QTest::newRow("silent server") << "silence" << false << "сервер не отвечает";
        QTest::newRow("plain HTTP") << "http" << false << "разрешено скачивание только по HTTPS";
        QTest::newRow("file cannot be written")
            << "unwritable" << false << "Не удаётся сохранить файл в ";
    }
    void downloadsOnlyOverHttpsAndKeepsOnlyWholeFiles()
    {
        QFETCH(QString, kind);
        QFETCH(bool, succeeds);
        QFETCH(QString, error);
        LocalHttpsServer server;
        server.body = QByteArray(200'000, 'x');
        QUrl url = server.url();
        QTemporaryDir directory;
        QString target = directory.filePath(QStringLiteral("installer.exe"));
        if (kind == "404") {
            server.answer = LocalHttpsServer::Answer::NotFound;
        } else if (kind == "silence") {
            server.answer = LocalHttpsServer::Answer::Silence;
        } else if (kind == "http") {
            url.setScheme(QStringLiteral("http"));
        } else if (kind == "unwritable") {
            target = directory.path(); // a directory is no file to write
        } else if (kind == "closed port") {
            QTcpServer closed;
            QVERIFY(closed.listen(QHostAddress::LocalHost));
            url.setPort(closed.serverPort());
        }
        QWidget page;

        QString errorText;
        // Only the silent server is given up early; a loaded machine may be slow to answer.
        const auto stall = kind == "silence" ? 300ms : InstallerDownload::kStallTimeout;
        QCOMPARE(InstallerDownload::run(&page, url, target, &errorText, stall), succeeds);

        QVERIFY2(succeeds ? errorText.isEmpty() : errorText.startsWith(error),
                 qPrintable(errorText));
        if (kind == "unwritable")
            QCOMPARE(errorText, "Не удаётся сохранить файл в " + QDir::toNativeSeparators(target));
        QCOMPARE(server.requests, kind == "http" || kind == "closed port" ? 0 : 1);
        if (succeeds)
            QCOMPARE(readFile(target), server.body);
        else if (kind != "unwritable")
            QVERIFY(!QFile::exists(target));
    }

    // Nothing is started unless it has the digest kept in the program.
    void thePlaceholderDigestIsNoSource_data()
    {
        QTest::addColumn<QByteArray>("digest");
        QTest::addColumn<bool>("source");
        QTest::newRow("the placeholder") << QByteArray(64, '0') << false;
        QTest::newRow("a published digest") << sha256("installer") << true;
    }
    void thePlaceholderDigestIsNoSource()
    {
        QFETCH(QByteArray, digest);
        QFETCH(bool, source);
        QCOMPARE(DriverInstaller::sourceOf(QUrl("https://example.org/i.exe"), digest).has_value(),
                 source);
    }

    void installerIsCheckedBeforeItIsStarted_data()
    {
        QTest::addColumn<QByteArray>("present"); // installer.exe already there ("" none)
        QTest::addColumn<bool>("hasSource");
        QTest::addColumn<QByteArray>("expected"); // the content whose digest is kept
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<QStringList>("prompts");
        QTest::addColumn<int>("requests");
        QTest::addColumn<bool>("kept");
        const QByteArray served = "installer";
        QTest::newRow("declined") << QByteArray() << true << served << QMessageBox::No
                                  << QStringList{kQuestion} << 0 << false;
        QTest::newRow("downloaded, other digest")
            << QByteArray() << true << QByteArray("another installer") << QMessageBox::Yes
            << QStringList{kQuestion, kMismatch} << 1 << false;
        // A file already there that fails the check is downloaded again, then checked.
        QTest::newRow("present, other digest")
            << QByteArray("tampered") << true << served << QMessageBox::Yes
            << QStringList{kQuestion, kNotStarted} << 1 << true;
        QTest::newRow("present and downloaded, other digest")
            << QByteArray("tampered") << true << QByteArray("another installer") << QMessageBox::Yes
            << QStringList{kQuestion, kMismatch} << 1 << false;
        // This system cannot run the downloaded file (it is not executable here), but the
        // digest let it through to the start.
        QTest::newRow("downloaded, same digest")
            << QByteArray() << true << served << QMessageBox::Yes
            << QStringList{kQuestion, kNotStarted} << 1 << true;
        QTest::newRow("no installer for this build: nothing asked nor trusted")
            << QByteArray("installer") << false << served << QMessageBox::Yes
            << QStringList{kUnavailable} << 0 << true;
    }
    void installerIsCheckedBeforeItIsStarted()
    {
        QFETCH(QByteArray, present);
        QFETCH(bool, hasSource);
        QFETCH(QByteArray, expected);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(QStringList, prompts);
        QFETCH(int, requests);
        QFETCH(bool, kept);
        FakeHidApi hid;
        LocalHttpsServer server;
        server.body = "installer";
        if (!present.isEmpty())
            writeFile(installerPath(), present);
        QWidget page;
        DriverInstaller installer(&page);
        installer.setSource(
            hasSource ? std::optional(DriverInstaller::Source{server.url(), sha256(expected)})
                      : std::nullopt);
        ScriptedPrompter prompter;
        prompter.queueButton(answer);

        QVERIFY(!installer.ensureDriver());

        QCOMPARE(promptTexts(prompter), prompts);
        QCOMPARE(prompter.prompts.first().kind,
                 hasSource ? Prompt::Kind::Question : Prompt::Kind::Information);
        if (prompts.size() > 1)
            QCOMPARE(prompter.prompts.last().kind, Prompt::Kind::Critical);
        QCOMPARE(server.requests, requests);
        QCOMPARE(QFile::exists(installerPath()), kept);
        if (kept)
            QCOMPARE(readFile(installerPath()), server.body);
        QVERIFY(!installer.isInstallerRunning());
    }

    void startedInstallerIsAwaitedAndItsOutcomeReported_data()
    {
        // "installed", "missing", "page closed", or "driver chosen": the driver mode selected
        // again while the installer is still open.
        QTest::addColumn<QString>("ending");
        QTest::addColumn<QString>("outcome"); // the report of its end; none when ""
        QTest::newRow("installed") << "installed"
                                   << "Драйвер установлен. Выберите режим \"Драйвер\" снова.";
        QTest::newRow("still missing") << "missing"
                                       << "Драйвер по-прежнему отсутствует. Запустите "
                                          "установщик ещё раз при необходимости.";
        // Stopping an installer half-way could leave the driver half installed.
        QTest::newRow("page closed first") << "page closed"
                                           << "";
        QTest::newRow("driver chosen while it is open") << "driver chosen"
                                                        << "";
    }
    void startedInstallerIsAwaitedAndItsOutcomeReported()
    {
        QFETCH(QString, ending);
        QFETCH(QString, outcome);
        FakeHidApi hid;
        LocalHttpsServer server;
        writeFile(installerPath(), kWaitingInstaller,
                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        auto page = std::make_unique<QWidget>();
        auto* installer = new DriverInstaller(page.get());
        installer->setSource(DriverInstaller::Source{server.url(), sha256(kWaitingInstaller)});
        QSignalSpy finished(installer, &DriverInstaller::installerFinished);
        ScriptedPrompter prompter;
        prompter.queueButton(QMessageBox::Yes);

        QVERIFY(!installer->ensureDriver());
        QVERIFY(!installer->ensureDriver()); // no second installer while one runs
        QCOMPARE(promptTexts(prompter),
                 (QStringList{kQuestion, kStarted,
                              "Установка драйвера уже выполняется. Завершите установку и "
                              "повторите попытку."}));
        QCOMPARE(server.requests, 0); // the file there was used
        QVERIFY(installer->isInstallerRunning());

        if (ending == "installed" || ending == "driver chosen")
            hid.attachVirtualMouse();
        if (ending == "driver chosen") {
            QVERIFY(installer->ensureDriver());
            QVERIFY(!installer->isInstallerRunning());
            // A process object let go of is deleted now, killing its process.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        if (ending == "page closed")
            page.reset();
        writeFile(installerPath() + ".done", {});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(installerPath() + ".finished"), 5000);
        if (!outcome.isEmpty()) {
            QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 5000);
            QVERIFY(!installer->isInstallerRunning());
        }
        QCOMPARE(prompter.prompts.size(), outcome.isEmpty() ? 3 : 4);
        if (!outcome.isEmpty())
            QCOMPARE(prompter.prompts[3].text, outcome);
    }
};

CLAVITOR_TEST(DriverInstallerTest);
#include "DriverInstallerTest.moc"
