#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>

// The X desktop's command-line tools, as a user's other programs use them: xdotool to press
// keys, click and move the pointer, setxkbmap and xrandr to change the desktop.

// How long the X11 tests wait for the desktop to show an effect.
constexpr int kTimeoutMs = 10000;

// Runs a command-line tool to its end; false when it fails or takes too long.
bool runTool(const QString& program, const QStringList& arguments, QString* output = nullptr);
bool xdotool(const QStringList& arguments);
// The pointer as the X server has it, asked by another client; (-1, -1) when unknown.
QPoint pointer();
