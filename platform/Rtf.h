#pragma once
// Rich-text pages from the CD (about pages, other titles' descriptions) into a QTextDocument.
#include <QByteArrayView>
#include <QString>

class QTextDocument;

namespace platform {

// Replaces doc's content with the RTF text. Text that names no font of its own keeps doc's
// default font. Damaged or truncated input gives what could be read; never throws.
void readRtf(QByteArrayView rtf, QTextDocument& doc);
// readRtf on a file's bytes; false (doc untouched) when the file cannot be read.
bool loadRtf(const QString& path, QTextDocument& doc);

}  // namespace platform
