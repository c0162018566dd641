#include "TestRegistry.h"

#include "engine/LuaApi.h"

#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QTest>

namespace {

// The lines of the guide under the heading `from`, up to the next heading of its level or above.
QStringList section(const QString& from)
{
    QFile file(QStringLiteral(CLAVITOR_SOURCE_DIR "/docs/scripting.md"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read the scripting guide");
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    const qsizetype start = lines.indexOf(from);
    if (start < 0)
        qFatal("no heading %s", qPrintable(from));
    const auto level = [](const QString& line) {
        static const QRegularExpression heading(QStringLiteral("^(#+) "));
        return heading.match(line).capturedLength(1); // 0: no heading
    };
    qsizetype end = start + 1;
    while (end < lines.size() && (level(lines[end]) == 0 || level(lines[end]) > level(from)))
        ++end;
    return lines.mid(start + 1, end - start - 1);
}

QStringList quoted(const QString& text)
{
    static const QRegularExpression name(QStringLiteral("`([^`]+)`"));
    QStringList names;
    for (const QRegularExpressionMatch& match : name.globalMatch(text))
        names << match.captured(1);
    return names;
}

} // namespace

// The scripting guide describes the functions and events the program registers, under the
// names and with the arguments that completion and call tips offer.
class ScriptingReferenceTest : public QObject
{
    Q_OBJECT

private slots:
    void theGuideListsEveryFunctionAsTheTableHasIt()
    {
        QMap<QString, QString> documented; // name: arguments, or "= function" for an alias
        static const QRegularExpression row(QStringLiteral("^\\| `([^`(]+)(\\([^`]*\\))` \\|"));
        bool aliasColumn = false;
        const QStringList functions = section(QStringLiteral("## Functions"));
        for (const QString& line : functions) {
            if (line.startsWith(QLatin1String("| function |")))
                aliasColumn = line.startsWith(QLatin1String("| function | aliases |"));
            const QRegularExpressionMatch match = row.match(line);
            if (!match.hasMatch())
                continue;
            documented.insert(match.captured(1), match.captured(2));
            if (aliasColumn) {
                for (const QString& alias : quoted(line.section(QLatin1Char('|'), 2, 2)))
                    if (!alias.contains(QLatin1Char('.'))) // a library's field, not a global
                        documented.insert(alias, QLatin1String("= ") + match.captured(1));
            }
        }
        for (const QString& name :
             quoted(section(QStringLiteral("### Functions that do nothing")).join(u' ')))
            documented.insert(name, QStringLiteral("(...)"));

        QMap<QString, QString> registered;
        for (const LuaApi::Function& function : LuaApi::functions())
            registered.insert(function.name, function.aliasOf.isEmpty()
                                                 ? function.arguments
                                                 : QLatin1String("= ") + function.aliasOf);
        QCOMPARE(documented, registered);
    }

    void theGuideListsTheEvents()
    {
        QStringList documented;
        for (const QString& line : section(QStringLiteral("## Events"))) {
            if (line.startsWith(QLatin1String("| `\"")))
                documented << quoted(line).first().remove(QLatin1Char('"'));
        }
        QCOMPARE(documented, LuaApi::events());
    }
};

CLAVITOR_TEST(ScriptingReferenceTest);
#include "ScriptingReferenceTest.moc"
