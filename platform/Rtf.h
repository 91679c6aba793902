#pragma once
// Rich-text pages from the CD (about pages, other titles' descriptions) into a QTextDocument.
#include <QByteArrayView>
#include <QString>

class QTextDocument;

namespace platform {

// Replaces doc's content with the RTF text: groups, paragraphs, line breaks, tabs, bold,
// italic, underline, strike-out, capitals and small capitals, fonts, colours, sizes,
// alignment and indents; "\'xx" bytes in the code page of the current font's charset, else
// of "\ansicpg", else Windows-1250; "\uN" with its fallback skipped. Paragraph borders are
// drawn as lines (a box of one table cell round the paragraphs that share them); footnotes
// follow the page's text below a rule. Pictures, objects and unknown destinations are
// skipped.
//
// Text that names no font of its own keeps doc's default font, so that the user's font
// reaches the page: the document's default RTF font ("\deff", font 0 when absent) and
// "\plain" leave the family to doc; only a different font number sets a family. Likewise
// only formats turned on are set (bold, a size, a colour from the table...), and "off"
// leaves the default. Anything that is not RTF is shown as Windows-1250 plain text.
// Damaged or truncated input gives what could be read; never throws.
void readRtf(QByteArrayView rtf, QTextDocument& doc);
// readRtf on a file's bytes; false (doc untouched) when the file cannot be read.
bool loadRtf(const QString& path, QTextDocument& doc);

}  // namespace platform
