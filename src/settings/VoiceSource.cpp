#include "VoiceSource.h"

namespace {

VoiceSource* s_installed = nullptr;

} // namespace

VoiceSource* VoiceSource::installed()
{
    return s_installed;
}

void VoiceSource::install(VoiceSource* source)
{
    s_installed = source;
}
