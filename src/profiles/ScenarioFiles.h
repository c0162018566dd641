#pragma once

#include <QString>

#include <functional>

// File operations of the scenario library: where a file lies, and copies that replace.
namespace ScenarioFiles {

// Whether path lies inside directory (at any depth), decided on whole path components and
// with case: "profiles/ab/x.lua" is not inside "profiles/a". Both are cleaned first.
bool isInsideDirectory(const QString& path, const QString& directory);

// Copies source to target, replacing a target that exists; the target is written whole or
// not at all. Copying a file onto itself succeeds and changes nothing. On failure `error`,
// when given, says why.
bool copyReplacing(const QString& source, const QString& target, QString* error = nullptr);

// The first of "name (2).ext", "name (3).ext", … beside `path` that `taken` does not claim.
QString freeFileName(const QString& path, const std::function<bool(const QString&)>& taken);

// The first of nameOf(first), nameOf(first + 1), … that `taken` does not claim.
QString firstFreeName(int first, const std::function<QString(int)>& nameOf,
                      const std::function<bool(const QString&)>& taken);

// Removes a directory with everything in it, or nothing: it is first moved aside, which the
// system refuses while a file in it is open (Windows), so a refusal leaves it whole. False
// only when it could not be moved aside; leftovers of a removal that stops half-way stay in
// the moved-aside directory and are logged.
bool removeDirectory(const QString& directory);

} // namespace ScenarioFiles
