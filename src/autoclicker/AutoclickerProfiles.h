#pragma once

#include "AutoclickerProfile.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

// The autoclicker profiles in file order and which of them is current. The name rules:
// names are trimmed before any test and compared regardless of case; "default" belongs to
// the first profile; no two profiles share a name.
class AutoclickerProfiles
{
    Q_DECLARE_TR_FUNCTIONS(AutoclickerProfiles)

public:
    QList<AutoclickerProfile> list;
    int currentIndex = -1;

    // The current profile; nullptr when there is none.
    AutoclickerProfile* current();
    const AutoclickerProfile* current() const;
    bool isCurrentDefault() const;

    // The on/off state is one for the whole autoclicker: every profile carries it.
    void setEnabled(bool enabled);

    static bool isReservedName(const QString& name);
    // Whether a profile other than the one at excludedIndex has the name.
    bool isTaken(const QString& name, int excludedIndex = -1) const;
    // Not empty, not reserved and not taken.
    bool isFree(const QString& name) const;
    // "%1 копия", else "%1 копия (2)", "%1 копия (3)"…: the first that is free.
    QString copyName(const QString& name) const;
};
