#include "platform/Rtf.h"

#include <QFile>
#include <QTextDocument>

namespace platform {

void readRtf(QByteArrayView rtf, QTextDocument& doc) { doc.setPlainText(QString::fromLatin1(rtf)); }

bool loadRtf(const QString& path, QTextDocument& doc) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    readRtf(f.readAll(), doc);
    return true;
}

}  // namespace platform
