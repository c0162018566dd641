#include "AutoclickerSettings.h"

#include "core/SettingsNormalization.h"

#include <QJsonArray>

#include <cmath>
#include <limits>

namespace {

// A whole number from a JSON number, truncated and held to the int range; anything else
// keeps the current value.
int readInt(const QJsonValue& value, int current)
{
    if (!value.isDouble())
        return current;
    const double number = std::trunc(value.toDouble());
    if (std::isnan(number))
        return current;
    if (number <= std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    if (number >= std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(number);
}

bool readBool(const QJsonValue& value, bool current)
{
    return value.isBool() ? value.toBool() : current;
}

QString inputTypeName(int inputType)
{
    switch (inputType) {
    case AutoclickerSettings::Keyboard:
        return QStringLiteral("keyboard");
    case AutoclickerSettings::NoClicks:
        return QStringLiteral("none");
    default:
        return QStringLiteral("mouse");
    }
}

} // namespace

QJsonObject AutoclickerSettings::toJson() const
{
    return {{QLatin1String("interval"), interval},
            {QLatin1String("inputType"), inputTypeName(inputType)},
            {QLatin1String("useMouse"), inputType == Mouse},
            {QLatin1String("button"), button},
            {QLatin1String("key"), key},
            {QLatin1String("useMove"), useMove},
            {QLatin1String("move"), QJsonArray{move.x(), move.y()}},
            {QLatin1String("smooth"), smooth},
            {QLatin1String("clickCount"), clickCount},
            {QLatin1String("mode"), mode},
            {QLatin1String("repeat"), repeat},
            {QLatin1String("delayRand"), delayRand},
            {QLatin1String("moveRand"), moveRand},
            {QLatin1String("hotkey"), hotkey.toString(QKeySequence::PortableText)},
            {QLatin1String("enabled"), enabled}};
}

AutoclickerSettings AutoclickerSettings::fromJson(const QJsonObject& o)
{
    AutoclickerSettings s;
    s.interval = readInt(o.value(QLatin1String("interval")), s.interval);

    const QString type = o.value(QLatin1String("inputType")).toString();
    if (type == QLatin1String("keyboard"))
        s.inputType = Keyboard;
    else if (type == QLatin1String("none"))
        s.inputType = NoClicks;
    else if (o.contains(QLatin1String("useMouse")))
        s.inputType = o.value(QLatin1String("useMouse")).toBool() ? Mouse : Keyboard;
    else
        s.inputType = Mouse;

    s.button = readInt(o.value(QLatin1String("button")), s.button);
    s.key = readInt(o.value(QLatin1String("key")), s.key);
    s.useMove = readBool(o.value(QLatin1String("useMove")), s.useMove);
    const QJsonArray move = o.value(QLatin1String("move")).toArray();
    if (move.size() == 2)
        s.move = QPoint(readInt(move.at(0), s.move.x()), readInt(move.at(1), s.move.y()));
    s.smooth = readBool(o.value(QLatin1String("smooth")), s.smooth);

    const int clicks = readInt(o.value(QLatin1String("clickCount")), s.clickCount);
    if (clicks <= 0) {
        s.inputType = NoClicks;
        s.clickCount = 0;
    } else {
        s.clickCount = std::min(clicks, 3);
    }
    if (s.inputType == NoClicks)
        s.clickCount = 0;

    s.mode = readInt(o.value(QLatin1String("mode")), s.mode);
    if (s.mode < 0 || s.mode > 3)
        s.mode = 0;
    s.repeat = std::max(0, readInt(o.value(QLatin1String("repeat")), s.repeat));
    s.delayRand = readInt(o.value(QLatin1String("delayRand")), s.delayRand);
    s.moveRand = readInt(o.value(QLatin1String("moveRand")), s.moveRand);
    const QJsonValue hotkey = o.value(QLatin1String("hotkey"));
    if (hotkey.isString())
        s.hotkey = storedHotkey(hotkey.toString());
    s.enabled = readBool(o.value(QLatin1String("enabled")), s.enabled);
    return s;
}
