#include "PreviewLogCapture.h"

#include <cstring>

namespace {

PreviewLogCapture* capture = nullptr;

} // namespace

PreviewLogCapture::PreviewLogCapture(PreviewResult& result,
                                     const platform::VirtualClockPlatform& clock)
    : m_result(result), m_clock(clock)
{
    capture = this;
    m_previous = qInstallMessageHandler(&handle);
}

PreviewLogCapture::~PreviewLogCapture()
{
    qInstallMessageHandler(m_previous);
    capture = nullptr;
}

void PreviewLogCapture::addError(const QString& text)
{
    add(text, true);
}

void PreviewLogCapture::add(const QString& text, bool error)
{
    if (m_result.log.size() >= kLineLimit) {
        ++m_result.droppedLogLines;
        return;
    }
    m_result.log.append({m_clock.now(), error, text});
}

void PreviewLogCapture::handle(QtMsgType type, const QMessageLogContext& context,
                               const QString& text)
{
    if (capture && context.category && std::strcmp(context.category, "clavitor.script") == 0) {
        capture->add(text, false);
        return;
    }
    if (capture && capture->m_previous)
        capture->m_previous(type, context, text);
}
