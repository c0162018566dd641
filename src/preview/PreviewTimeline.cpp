#include "PreviewTimeline.h"

QList<PreviewTimeline::Kind> PreviewTimeline::all()
{
    return {Kind::LeftHold, Kind::RightThenLeft, Kind::LeftClick};
}

QList<PreviewTimeline::Change> PreviewTimeline::changes(Kind kind)
{
    switch (kind) {
    case Kind::LeftHold:
        return {{0, 1, true}, {2000, 1, false}};
    case Kind::RightThenLeft:
        // The right button first (aiming), the left one a moment later, held for two seconds.
        return {{0, 3, true}, {100, 1, true}, {2100, 1, false}, {2100, 3, false}};
    case Kind::LeftClick:
        return {{0, 1, true}, {50, 1, false}};
    }
    return {};
}

QString PreviewTimeline::title(Kind kind)
{
    switch (kind) {
    case Kind::LeftHold:
        return tr("ЛКМ зажата 2 с");
    case Kind::RightThenLeft:
        return tr("ПКМ, затем ЛКМ 2 с");
    case Kind::LeftClick:
        return tr("Нажатие ЛКМ");
    }
    return {};
}

QString PreviewTimeline::token(Kind kind)
{
    switch (kind) {
    case Kind::LeftHold:
        return QStringLiteral("leftHold");
    case Kind::RightThenLeft:
        return QStringLiteral("rightThenLeft");
    case Kind::LeftClick:
        return QStringLiteral("leftClick");
    }
    return {};
}

std::optional<PreviewTimeline::Kind> PreviewTimeline::fromToken(const QString& token)
{
    for (Kind kind : all()) {
        if (PreviewTimeline::token(kind) == token)
            return kind;
    }
    return std::nullopt;
}
