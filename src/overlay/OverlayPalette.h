#pragma once

#include <QColor>
#include <QCoreApplication>
#include <QList>
#include <QString>

// A named colour the settings page offers for the overlay.
struct OverlayColorPreset
{
    QString name; // in the interface language
    QColor color;

    bool operator==(const OverlayColorPreset&) const = default;
};

// The colours offered for the overlay's background and text, with their names in the
// current interface language (ask again after a language change).
class OverlayPalette
{
    Q_DECLARE_TR_FUNCTIONS(OverlayPalette)

public:
    static QList<OverlayColorPreset> backgroundPresets();
    static QList<OverlayColorPreset> textPresets();
};
