#pragma once

#include "AutoclickerSettings.h"

#include <QString>

// A named autoclicker configuration ("an autoclicker" to the user). The name is trimmed and
// never empty; "default" is the first profile's and cannot be given to another.
struct AutoclickerProfile
{
    QString name;
    AutoclickerSettings settings;
};
