#include "PreviewResult.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// The tokens of the ends and of the record kinds, in the order of their enums.
const char* const kEnds[] = {"finished", "scriptError", "virtualTime", "calls",   "spinning",
                             "realTime", "memory",      "noAnswer",    "failed"};
const char* const kRecordKinds[] = {"move", "jump", "buttonDown", "buttonUp", "keyDown", "keyUp"};

template <typename Enum, std::size_t N>
std::optional<Enum> fromToken(const char* const (&tokens)[N], const QString& token)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (token == QLatin1String(tokens[i]))
            return static_cast<Enum>(i);
    }
    return std::nullopt;
}

} // namespace

QString PreviewResult::message() const
{
    switch (end) {
    case End::Finished:
        return {};
    case End::ScriptError:
        return tr("Ошибка в сценарии: %1").arg(errorText);
    case End::VirtualTime:
        return tr("Предпросмотр остановлен: сценарий работал дольше 60 с виртуального времени");
    case End::Calls:
        return tr("Предпросмотр остановлен: больше 1 000 000 вызовов функций сценария");
    case End::Spinning:
        return tr("Предпросмотр остановлен: сценарий крутится в цикле без вызовов функций");
    case End::RealTime:
        return tr("Предпросмотр остановлен: расчёт занял больше 2 с");
    case End::Memory:
        return tr("Предпросмотр остановлен: сценарию не хватило памяти");
    case End::NoAnswer:
        return tr("Предпросмотр не ответил вовремя и был остановлен");
    case End::Failed:
        return tr("Не удалось выполнить предпросмотр: %1").arg(errorText);
    }
    return {};
}

QByteArray PreviewResult::toJson() const
{
    QJsonArray recordArray;
    for (const Record& record : records)
        recordArray.append(QJsonArray{record.atUs, QLatin1String(kRecordKinds[int(record.kind)]),
                                      record.a, record.b});
    QJsonArray logArray;
    for (const LogLine& line : log)
        logArray.append(QJsonArray{line.atUs, line.error, line.text});
    const QJsonObject object{
        {QStringLiteral("end"), QLatin1String(kEnds[int(end)])},
        {QStringLiteral("errorText"), errorText},
        {QStringLiteral("durationUs"), durationUs},
        {QStringLiteral("start"), QJsonArray{start.x(), start.y()}},
        {QStringLiteral("records"), recordArray},
        {QStringLiteral("droppedRecords"), droppedRecords},
        {QStringLiteral("log"), logArray},
        {QStringLiteral("droppedLogLines"), droppedLogLines},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<PreviewResult> PreviewResult::fromJson(const QByteArray& json)
{
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    const std::optional<End> end =
        fromToken<End>(kEnds, object.value(QStringLiteral("end")).toString());
    if (!end)
        return std::nullopt;
    PreviewResult result;
    result.end = *end;
    result.errorText = object.value(QStringLiteral("errorText")).toString();
    result.durationUs = object.value(QStringLiteral("durationUs")).toInteger();
    const QJsonArray start = object.value(QStringLiteral("start")).toArray();
    result.start = QPoint(start.at(0).toInt(), start.at(1).toInt());
    for (const QJsonValue& value : object.value(QStringLiteral("records")).toArray()) {
        const QJsonArray fields = value.toArray();
        const std::optional<Record::Kind> kind =
            fromToken<Record::Kind>(kRecordKinds, fields.at(1).toString());
        if (fields.size() != 4 || !kind)
            return std::nullopt;
        result.records.append(
            {fields.at(0).toInteger(), *kind, fields.at(2).toInt(), fields.at(3).toInt()});
    }
    result.droppedRecords = object.value(QStringLiteral("droppedRecords")).toInteger();
    for (const QJsonValue& value : object.value(QStringLiteral("log")).toArray()) {
        const QJsonArray fields = value.toArray();
        if (fields.size() != 3)
            return std::nullopt;
        result.log.append({fields.at(0).toInteger(), fields.at(1).toBool(), fields.at(2).toString()});
    }
    result.droppedLogLines = object.value(QStringLiteral("droppedLogLines")).toInteger();
    return result;
}
