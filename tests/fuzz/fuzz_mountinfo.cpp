// The mount table as the kernel shows it: mount points are named by whoever mounted them (a
// stick's label), escaped as \ooo. Any text gives a set of the mount points it lists.
#include "platform/Drives.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    const QSet<QString> binds = platform::bindMountPoints(text);
    // A bind is a mount of the table: never more of them than lines.
    if (binds.size() > text.count('\n') + 1)
        std::abort();
    for (const QString& point : binds)
        (void)platform::holdsUserData(point, "ext4", false);
    return 0;
}
