#include "RecordedScriptWriter.h"

#include "KeyName.h"

#include <QStringList>

#include <algorithm>

namespace {

QString buttonName(int button)
{
    static const char* const names[] = {"left", "middle", "right", "back", "forward"};
    return button >= 1 && button <= 5 ? QString::fromLatin1(names[button - 1]) : QString();
}

// A scan code as PressKey takes it: extended keys in hexadecimal, with their 0xE0 prefix.
QString scanCodeText(int scanCode)
{
    return (scanCode & 0xFF00) ? QStringLiteral("0x") + QString::number(scanCode, 16).toUpper()
                               : QString::number(scanCode);
}

QString stepLine(const RecordedStep& step)
{
    const auto call = [](const char* function, const QString& arguments, const QString& note) {
        QString line = QStringLiteral("  {\"%1\", %2},").arg(QLatin1String(function), arguments);
        if (!note.isEmpty())
            line += QStringLiteral(" -- ") + note;
        return line;
    };
    switch (step.kind) {
    case RecordedStep::Kind::Sleep:
        return call("Sleep", QString::number(step.value), {});
    case RecordedStep::Kind::Move:
        return call("MoveMouseRelative", QStringLiteral("%1, %2").arg(step.value).arg(step.detail),
                    {});
    case RecordedStep::Kind::Wheel:
        return call("MoveMouseWheel", QString::number(step.value), {});
    case RecordedStep::Kind::PressButton:
        return call("PressMouseButton", QString::number(step.value), buttonName(step.value));
    case RecordedStep::Kind::ReleaseButton:
        return call("ReleaseMouseButton", QString::number(step.value), buttonName(step.value));
    case RecordedStep::Kind::PressKey:
        return call("PressKey", scanCodeText(step.value), KeyName::of(step.detail));
    case RecordedStep::Kind::ReleaseKey:
        return call("ReleaseKey", scanCodeText(step.value), KeyName::of(step.detail));
    }
    return {};
}

QString howItPlays(const PlaybackTrigger& trigger)
{
    const QString button =
        QStringLiteral("mouse button %1 (%2)").arg(trigger.button).arg(buttonName(trigger.button));
    switch (trigger.kind) {
    case PlaybackTrigger::Kind::OnActivation:
        return QStringLiteral("-- it plays the recording once.\n");
    case PlaybackTrigger::Kind::OnButtonPress:
        return QStringLiteral("-- then every press of %1 plays the recording once.\n").arg(button);
    case PlaybackTrigger::Kind::WhileButtonHeld:
        return QStringLiteral("-- then holding %1 plays the recording again and again; letting\n"
                              "-- go of the button stops it.\n")
            .arg(button);
    }
    return {};
}

// The player: every recorded scenario plays its steps with the same few lines.
const char* const kPlayer =
    R"(-- What the playback holds down, in the order pressed: the function that lets go of it and
-- its argument. What is still held when a playback ends or stops is let go.
local letGo = {PressMouseButton = "ReleaseMouseButton", PressKey = "ReleaseKey"}
local held = {}

local function releaseHeld()
  for i = #held, 1, -1 do
    _G[held[i][1]](held[i][2])
  end
  held = {}
end

local function noteHeld(name, what)
  if letGo[name] then
    table.insert(held, {letGo[name], what})
    return
  end
  for i = #held, 1, -1 do
    if held[i][1] == name and held[i][2] == what then
      table.remove(held, i)
      return
    end
  end
end

-- Plays the steps while goOn() allows. The waits keep to the clock from the start, so that
-- their rounding does not add up, and ask goOn() every few milliseconds.
local function play(goOn)
  local start = GetRunningTime()
  local due = 0
  for _, step in ipairs(steps) do
    if not goOn() then
      break
    end
    local name = step[1]
    if name == "Sleep" then
      due = due + step[2]
      local left = due - (GetRunningTime() - start)
      while left > 0 and goOn() do
        Sleep(math.min(left, 10) - 1)
        left = due - (GetRunningTime() - start)
      end
    else
      _G[name](unpack(step, 2))
      noteHeld(name, step[2])
    end
  end
  releaseHeld()
end
)";

QString onEvent(const PlaybackTrigger& trigger)
{
    // What lets a playback go on: the held button, or nothing but a stop.
    QString text = trigger.kind == PlaybackTrigger::Kind::WhileButtonHeld
                       ? QStringLiteral("\nlocal function triggerHeld()\n"
                                        "  return IsMouseButtonPressed(trigger)\nend\n")
                       : QStringLiteral("\nlocal function always()\n  return true\nend\n");
    // The left button's events reach OnEvent only when the script asks for them.
    if (trigger.kind != PlaybackTrigger::Kind::OnActivation && trigger.button == 1)
        text += QStringLiteral("\nEnablePrimaryMouseButtonEvents(true)\n");
    text += QStringLiteral("\nfunction OnEvent(event, arg)\n");
    switch (trigger.kind) {
    case PlaybackTrigger::Kind::OnActivation:
        text += QStringLiteral("  if event == \"PROFILE_ACTIVATED\" then\n"
                               "    play(always)\n");
        break;
    case PlaybackTrigger::Kind::OnButtonPress:
        text += QStringLiteral("  if event == \"MOUSE_BUTTON_PRESSED\" and arg == trigger then\n"
                               "    play(always)\n");
        break;
    case PlaybackTrigger::Kind::WhileButtonHeld:
        text += QStringLiteral("  if event == \"MOUSE_BUTTON_PRESSED\" and arg == trigger then\n"
                               "    repeat\n"
                               "      play(triggerHeld)\n"
                               "    until not triggerHeld()\n");
        break;
    }
    text += QStringLiteral("  elseif event == \"PROFILE_DEACTIVATED\" then\n"
                           "    releaseHeld()\n"
                           "  end\n"
                           "end\n");
    return text;
}

} // namespace

QByteArray RecordedScriptWriter::write(const RecordedSteps& recorded, const QDateTime& recordedAt,
                                       const PlaybackTrigger& trigger)
{
    QList<RecordedStep> steps = recorded.steps;
    qint64 totalMs = 0;
    for (const RecordedStep& step : steps) {
        if (step.kind == RecordedStep::Kind::Sleep)
            totalMs += step.value;
    }
    // A playback that repeats lasts until the moment the recording was stopped, so that a
    // button it presses last is up for a while before the next round presses it again.
    if (trigger.kind == PlaybackTrigger::Kind::WhileButtonHeld && !steps.isEmpty()) {
        const qint64 tailMs = std::max<qint64>(recorded.tailMs, kMinimumCycleMs - totalMs);
        if (tailMs > 0) {
            steps << RecordedStep::sleep(static_cast<int>(tailMs));
            totalMs += tailMs;
        }
    }
    QString text = QStringLiteral("-- Recorded with Clavitor on %1; the recording lasts %2 s.\n"
                                  "-- How to play: give the scenario a hotkey and activate it;\n")
                       .arg(recordedAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
                       .arg(QString::number(totalMs / 1000.0, 'f', 2));
    text += howItPlays(trigger);
    text += QStringLiteral(
        "-- Holding the deactivation hotkey for half a second stops a playback at once.\n"
        "--\n"
        "-- The steps are calls of the scripting functions, played in order: edit, remove or add\n"
        "-- steps as you like. Sleep waits in milliseconds; keys are the scan codes PressKey\n"
        "-- takes, with the key's name after them.\n\n");
    if (trigger.kind != PlaybackTrigger::Kind::OnActivation)
        text += QStringLiteral("local trigger = %1 -- %2\n")
                    .arg(trigger.button)
                    .arg(buttonName(trigger.button));
    QStringList lines;
    for (const RecordedStep& step : steps)
        lines << stepLine(step);
    text += QStringLiteral("local steps = {\n") + lines.join(u'\n') +
            (lines.isEmpty() ? QString() : QStringLiteral("\n")) + QStringLiteral("}\n\n");
    text += QString::fromLatin1(kPlayer);
    text += onEvent(trigger);
    return text.toUtf8();
}
