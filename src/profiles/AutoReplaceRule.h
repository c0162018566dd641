#pragma once

#include <QString>

// One row of a profile's auto-replace table: in the profile's scenario files the value of
// `parameter` is changed from `fromValue` to `toValue`.
struct AutoReplaceRule
{
    QString name;
    QString description;
    QString parameter;
    QString fromValue;
    QString toValue;

    friend bool operator==(const AutoReplaceRule&, const AutoReplaceRule&) = default;
};
