#include "PreviewRequest.h"

#include <QJsonDocument>
#include <QJsonObject>

QByteArray PreviewRequest::toJson() const
{
    const QJsonObject object{
        {QStringLiteral("name"), scenarioName},
        {QStringLiteral("script"), script},
        {QStringLiteral("timeline"), PreviewTimeline::token(timeline)},
        {QStringLiteral("capsLock"), capsLock},
        {QStringLiteral("xy"), modifiers.xy},
        {QStringLiteral("x"), modifiers.x},
        {QStringLiteral("y"), modifiers.y},
        {QStringLiteral("rand"), modifiers.rand},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<PreviewRequest> PreviewRequest::fromJson(const QByteArray& json)
{
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    const std::optional<PreviewTimeline::Kind> timeline =
        PreviewTimeline::fromToken(object.value(QStringLiteral("timeline")).toString());
    if (!timeline || !object.value(QStringLiteral("script")).isString())
        return std::nullopt;
    PreviewRequest request;
    request.scenarioName = object.value(QStringLiteral("name")).toString();
    request.script = object.value(QStringLiteral("script")).toString();
    request.timeline = *timeline;
    request.capsLock = object.value(QStringLiteral("capsLock")).toBool();
    request.modifiers.xy = object.value(QStringLiteral("xy")).toDouble(1.0);
    request.modifiers.x = object.value(QStringLiteral("x")).toDouble(1.0);
    request.modifiers.y = object.value(QStringLiteral("y")).toDouble(1.0);
    request.modifiers.rand = object.value(QStringLiteral("rand")).toInt(0);
    return request;
}
