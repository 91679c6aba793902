// RTF pages from the CD: any bytes give a document, never a crash or a hang.
#include "platform/Rtf.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

namespace {

void ensureApplication() {
    static int argc = 1;
    static char name[] = "fuzz_rtf";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static QGuiApplication app(argc, argv);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ensureApplication();
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 8));
    platform::readRtf(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)), doc);
    // The viewer lays the page out at its width.
    doc.setTextWidth(235);
    (void)doc.documentLayout()->documentSize();
    (void)doc.toPlainText();
    return 0;
}
