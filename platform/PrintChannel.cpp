#include "platform/PrintChannel.h"

#include "platform/AtomicFile.h"
#include "platform/Codec.h"
#include "platform/Errors.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cerrno>
#include <cmath>

namespace platform {

void FileChannel::write(const QByteArray& text) {
    if (!writeFileAtomically(path_, text))
        throw KatalogError(ioErrorText(errno));
}

namespace {

// The pen of the text driver: where the next character goes on the page.
class PrinterPen {
public:
    PrinterPen(QPainter& painter, QPagedPaintDevice& device)
        : painter_(painter),
          device_(device),
          fm_(painter.font(), &device),
          pageWidth_(device.width()),
          pageHeight_(device.height()),
          tabWidth_(std::max<qreal>(1, 8 * fm_.averageCharWidth())) {}

    void character(QChar c) {
        const qreal w = fm_.horizontalAdvance(c);
        // A character wider than the page still goes on a line of its own, or nothing moves.
        if (x_ + w > pageWidth_ && x_ > 0)
            lineBreak();
        if (run_.isEmpty())
            runX_ = x_;
        run_.append(c);
        x_ += w;
        drawn_ = true;
    }

    void tab() {
        flush();
        x_ = (std::floor(x_ / tabWidth_ + 1e-9) + 1) * tabWidth_;
        if (x_ > pageWidth_)
            lineBreak();
    }

    void lineBreak() {
        flush();
        const qreal h = drawn_ ? fm_.height() + 2 : fm_.height();
        x_ = 0;
        y_ += h;
        drawn_ = false;
        if (y_ > pageHeight_ - 2 * h)
            pageBreak();
    }

    // Draws the characters collected on the current line.
    void flush() {
        if (run_.isEmpty())
            return;
        if (pageDue_) {
            device_.newPage();
            pageDue_ = false;
        }
        painter_.drawText(QPointF(runX_, y_ + fm_.ascent()), run_);
        run_.clear();
    }

    void pageBreak() {
        flush();
        // A new sheet is started only when something is drawn on it, so the last line break
        // of a document never prints an empty page; a form feed on a page that is still
        // due gives the blank page it asks for.
        if (pageDue_)
            device_.newPage();
        pageDue_ = true;
        x_ = 0;
        y_ = 0;
        drawn_ = false;
    }

private:
    QPainter& painter_;
    QPagedPaintDevice& device_;
    // Fractional metrics: the pen follows the glyphs exactly as they are drawn.
    const QFontMetricsF fm_;
    const qreal pageWidth_;
    const qreal pageHeight_;
    const qreal tabWidth_;
    QString run_;
    qreal runX_ = 0;
    qreal x_ = 0;
    qreal y_ = 0;
    bool drawn_ = false;
    bool pageDue_ = false;
};

}  // namespace

void PrinterChannel::write(const QByteArray& text) {
    QPainter painter;
    if (!painter.begin(&device_))
        throw KatalogError(QStringLiteral("Printer selected is not valid"));
    painter.setFont(font_);
    painter.setPen(Qt::black);
    PrinterPen pen(painter, device_);
    for (const QChar c : fromCp1250(text)) {
        switch (c.unicode()) {
        case u'\r':
            break;
        case u'\n':
            pen.lineBreak();
            break;
        case u'\f':
            pen.pageBreak();
            break;
        case u'\t':
            pen.tab();
            break;
        default:
            pen.character(c);
        }
    }
    pen.flush();
    if (!painter.end())
        throw KatalogError(QStringLiteral("Printer selected is not valid"));
}

QFont documentPrinterFont() {
    QFont font;
    // Fixedsys is substituted by DejaVu Sans Mono; naming it too keeps the columns when the
    // substitution is missing.
    font.setFamilies({QStringLiteral("Fixedsys"), QStringLiteral("DejaVu Sans Mono")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(12);
    font.setBold(true);
    return font;
}

QString ioErrorText(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return QStringLiteral("Disk full");
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return QStringLiteral("File access denied");
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
        return QStringLiteral("Path not found");
    default:
        return QStringLiteral("I/O error %1").arg(error);
    }
}

QString withDefaultExtension(const QString& path, const QString& extension) {
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > 0 && dot < name.size() - 1)
        return path;
    return path + (path.endsWith(QLatin1Char('.')) ? QString() : QStringLiteral(".")) + extension;
}

}  // namespace platform
