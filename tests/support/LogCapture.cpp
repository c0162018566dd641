#include "LogCapture.h"

#include <QLoggingCategory>

LogCapture* LogCapture::s_active = nullptr;

LogCapture::LogCapture() : m_previous(qInstallMessageHandler(&LogCapture::handler))
{
    s_active = this;
    QLoggingCategory::setFilterRules(QStringLiteral("clavitor.*=true"));
}

LogCapture::~LogCapture()
{
    qInstallMessageHandler(m_previous);
    s_active = nullptr;
    quietDefaults();
}

void LogCapture::quietDefaults()
{
    QLoggingCategory::setFilterRules(QStringLiteral("clavitor.input.info=false"));
}

void LogCapture::handler(QtMsgType, const QMessageLogContext& context, const QString& text)
{
    s_active->lines.append(QString::fromLatin1(context.category) + QStringLiteral(": ") + text);
}
