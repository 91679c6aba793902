#pragma once
// Where a text document goes: a file, or the printer line by line as the old text-file
// printer driver did. The text is Windows-1250 bytes with CR LF line ends.
#include <QByteArray>
#include <QFont>
#include <QString>

class QPagedPaintDevice;

namespace platform {

class TextChannel {
public:
    virtual ~TextChannel() = default;
    // Opens the channel, writes the whole text and closes it. Throws KatalogError with an
    // input/output error text when that fails.
    virtual void write(const QByteArray& text) = 0;
};

// Replaces the file as a whole, without asking; on failure the old file stays as it was.
class FileChannel : public TextChannel {
public:
    explicit FileChannel(QString path) : path_(std::move(path)) {}
    void write(const QByteArray& text) override;

private:
    QString path_;
};

// Paints the text on a printer (or any paged device): from the top-left corner of the
// printable area, no margin. LF ends a line, CR alone does nothing, FF starts a page, TAB
// goes to the next multiple of eight average character widths; a line wider than the page
// is broken at the last character that fits.
class PrinterChannel : public TextChannel {
public:
    PrinterChannel(QPagedPaintDevice& device, QFont font)
        : device_(device), font_(std::move(font)) {}
    void write(const QByteArray& text) override;

private:
    QPagedPaintDevice& device_;
    QFont font_;
};

// The printer font of the order document: "Fixedsys" 12 pt bold, fixed pitch.
QFont documentPrinterFont();

// The run-time library's text for a failed input or output, from an errno value.
QString ioErrorText(int error);

// "name" -> "name.txt" when the file name part has no extension.
QString withDefaultExtension(const QString& path, const QString& extension);

}  // namespace platform
