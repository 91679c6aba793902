// The check a song passes before the synthesizer sees it.
#include "platform/SoundPlayer.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<QByteArray> smf = platform::readableMidi(bytes);
    // What passes is a standard file no longer than what came in.
    if (smf && (!smf->startsWith("MThd") || smf->size() > bytes.size()))
        __builtin_trap();
    return 0;
}
