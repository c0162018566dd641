#pragma once

#include "ScenarioProfile.h"
#include "platform/ForegroundProgram.h"

#include <QList>
#include <QString>

// How many characters of a Windows program's name Wine keeps as its process name.
inline constexpr qsizetype kTruncatedNameLength = 15;

// Which profile lists the program in front. A listed name matches when it equals one of the
// program's names, or when its first kTruncatedNameLength characters equal the program's name
// that the system cut short; without regard to case where the system's names are so
// (Windows), and for names ending in ".exe" everywhere, since a Windows program run through
// Wine carries its Windows file name in its X11 window class.
bool programMatches(const QString& listedName, const platform::ForegroundProgram& program);

// The index of the first profile that lists the program; -1 when none does.
qsizetype profileForProgram(const QList<ScenarioProfile>& profiles,
                            const platform::ForegroundProgram& program);

// The index of the profile that lists `name` already (compared without regard to case, so
// that one program never ends up in two profiles); -1 when none does.
qsizetype profileListingProgram(const QList<ScenarioProfile>& profiles, const QString& name);

// The name to list for a program taken from the front: the first of its names that ends in
// ".exe" (a Windows program, also through Wine), else the name the system cut short, else its
// first name; empty without names.
QString listedNameOf(const platform::ForegroundProgram& program);
