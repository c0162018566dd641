#include "LogCapture.h"
#include "ScenarioScripts.h"
#include "TestRegistry.h"

#include "core/AppProperties.h"
#include "engine/EngineState.h"
#include "engine/ScriptsModel.h"
#include "platform/simulated/SimulatedPlatform.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <chrono>
#include <latch>
#include <memory>
#include <thread>

using namespace std::chrono_literals;

namespace {

// The Lua blocks of the examples section of the scripting guide, in order.
QList<QByteArray> guideExamples()
{
    QFile guide(QStringLiteral(CLAVITOR_SOURCE_DIR "/docs/scripting.md"));
    if (!guide.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(guide.readAll());
    const QString examples = text.mid(text.indexOf(QStringLiteral("\n## Examples\n")));
    QList<QByteArray> blocks;
    static const QRegularExpression block(QStringLiteral("```lua\n(.*?)```"),
                                          QRegularExpression::DotMatchesEverythingOption);
    for (const QRegularExpressionMatch& match : block.globalMatch(examples))
        blocks << match.captured(1).toUtf8();
    return blocks;
}

} // namespace

// The four examples of docs/scripting.md, loaded from the guide itself and run on the
// simulated desktop as a user would run them.
class ScriptingGuideExamplesTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<platform::SimulatedPlatform> m_desktop;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptsModel> m_model;
    QList<QByteArray> m_examples;

    void activate(int example)
    {
        const QString path = writeScript(*m_dir, QStringLiteral("example.lua"), m_examples.at(example));
        m_model->executeLua(path);
        QCOMPARE(m_model->activeScriptPath(), path);
    }

    // The user holds a button (on the hook's side, as a real click) for a while, from another
    // thread, while the script runs on this one. The hook posts the press before setKeyDown
    // returns, so once the other thread says it pressed, the press is there to deliver.
    void holdButton(int virtualKey, std::chrono::milliseconds held)
    {
        std::latch pressed(1);
        std::thread user([&] {
            m_desktop->setKeyDown(virtualKey, true);
            pressed.count_down();
            std::this_thread::sleep_for(held);
            m_desktop->setKeyDown(virtualKey, false);
        });
        pressed.wait();
        QCoreApplication::sendPostedEvents(); // the press reaches OnEvent, which loops
        user.join();
        QCoreApplication::sendPostedEvents();
    }

private slots:
    void initTestCase()
    {
        m_examples = guideExamples();
        QCOMPARE(m_examples.size(), 4);
    }

    void init()
    {
        m_desktop = std::make_unique<platform::SimulatedPlatform>();
        platform::Platform::setCurrent(m_desktop.get());
        m_dir = std::make_unique<QTemporaryDir>();
        EngineState::instance() = EngineState{};
        applySettings(AppSettings{});
        publishModifierDefaults();
        qApp->setProperty(AppProperty::isSound, false);
        m_model = std::make_unique<ScriptsModel>();
    }

    void cleanup()
    {
        m_model.reset();
        m_dir.reset();
        platform::Platform::setCurrent(nullptr);
        m_desktop.reset();
    }

    void rapidFireClicksWhileTheForwardButtonIsHeld()
    {
        activate(0);
        holdButton(VK_XBUTTON2, 300ms);
        const std::vector<INPUT> sent = m_desktop->takeSentRecords();
        QVERIFY2(sent.size() >= 6, qPrintable(QString::number(sent.size()))); // 300 / 31 clicks
        for (std::size_t i = 0; i < sent.size(); ++i)
            QCOMPARE(sent[i].mi.dwFlags, i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
    }

    void recoilControlPullsDownForHalfASecond()
    {
        activate(1);
        holdButton(VK_LBUTTON, 800ms);
        const std::vector<INPUT> sent = m_desktop->takeSentRecords();
        // 500 ms of moves, one every 10 to 11 ms.
        QVERIFY2(sent.size() >= 30 && sent.size() <= 51, qPrintable(QString::number(sent.size())));
        for (const INPUT& record : sent) {
            QCOMPARE(record.mi.dwFlags, MOUSEEVENTF_MOVE);
            QCOMPARE(record.mi.dx, 0);
            QCOMPARE(record.mi.dy, 2);
        }
    }

    void sideButtonsCopyAndPaste()
    {
        LogCapture log;
        activate(2);
        QCOMPARE(log.lines.filter(QStringLiteral("clavitor.script")).size(), 1);
        QVERIFY(QRegularExpression(QStringLiteral("^clavitor.script: Clipboard buttons on at "
                                                  "\\d\\d:\\d\\d:\\d\\d$"))
                    .match(log.lines.filter(QStringLiteral("clavitor.script")).first())
                    .hasMatch());
        holdButton(VK_XBUTTON1, 10ms);
        holdButton(VK_XBUTTON2, 10ms);
        QList<QPair<WORD, DWORD>> keys;
        for (const INPUT& record : m_desktop->takeSentRecords())
            keys << qMakePair(record.ki.wScan, record.ki.dwFlags);
        const DWORD down = KEYEVENTF_SCANCODE;
        const DWORD up = KEYEVENTF_SCANCODE | KEYEVENTF_KEYUP;
        QCOMPARE(keys, (QList<QPair<WORD, DWORD>>{{29, down}, {46, down}, {46, up}, {29, up},
                                                  {29, down}, {47, down}, {47, up}, {29, up}}));
    }

    void sprayPatternMovesAlongItsTable()
    {
        activate(3);
        holdButton(VK_LBUTTON, 1000ms); // the eight shots take about 800 ms
        QList<QPair<LONG, LONG>> moves;
        for (const INPUT& record : m_desktop->takeSentRecords())
            moves << qMakePair(record.mi.dx, record.mi.dy);
        QCOMPARE(moves, (QList<QPair<LONG, LONG>>{
                            {0, 4}, {-1, 5}, {1, 6}, {2, 6}, {-2, 7}, {0, 7}, {3, 5}, {-3, 5}}));
    }
};

CLAVITOR_TEST(ScriptingGuideExamplesTest);
#include "ScriptingGuideExamplesTest.moc"
