#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QPoint>
#include <QRegularExpression>
#include <QString>

// The Lua blocks of the examples section of the scripting guide, in order.
inline QList<QString> guideExamples()
{
    QFile guide(QStringLiteral(CLAVITOR_SOURCE_DIR "/docs/scripting.md"));
    if (!guide.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(guide.readAll());
    const QString examples = text.mid(text.indexOf(QStringLiteral("\n## Examples\n")));
    QList<QString> blocks;
    static const QRegularExpression block(QStringLiteral("```lua\n(.*?)```"),
                                          QRegularExpression::DotMatchesEverythingOption);
    for (const QRegularExpressionMatch& match : block.globalMatch(examples))
        blocks << match.captured(1);
    return blocks;
}

// Example 4 of the guide, the spray pattern, and the way it moves the pointer, summed by
// hand from its table: (0,4) (-1,5) (1,6) (2,6) (-2,7) (0,7) (3,5) (-3,5).
inline constexpr int kSprayExample = 3;
inline const QList<QPoint> kSprayPath = {{0, 4},  {-1, 9}, {0, 15}, {2, 21},
                                         {0, 28}, {0, 35}, {3, 40}, {0, 45}};
