// A dalsicd.INI text; the whole program starts on it and the other-titles window is gone
// through: each title selected, shown in both detail modes, ticked and counted up and down,
// then the order document made. The document's amounts must add up to its total.
#include "tests/fuzz/WindowFuzz.h"

#include "menu/DesktopUnit1.h"
#include "orders/DalsiNaseCDUnit1.h"
#include "orders/TiskUnit1.h"
#include "widgets/EzRgnBtn.h"

#include <QFile>
#include <QLineEdit>
#include <QListWidget>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr int MaxTitles = 16;

// The last number of a document line: an amount written by the order.
__int128 lastNumber(QByteArrayView line) {
    line = line.trimmed();
    if (line.endsWith(".00"))
        line.chop(3);
    qsizetype start = line.size();
    while (start > 0 && line[start - 1] >= '0' && line[start - 1] <= '9')
        --start;
    if (start == line.size())
        std::abort();
    __int128 value = 0;
    for (qsizetype i = start; i < line.size(); ++i)
        value = value * 10 + (line[i] - '0');
    return start > 0 && line[start - 1] == '-' ? -value : value;
}

void checkDocument(const QByteArray& document, qsizetype items) {
    if (!document.endsWith("\r\n"))
        std::abort();
    // Customer fields of one line keep the document at its lines.
    const QList<QByteArray> lines = document.split('\n');
    if (lines.size() != std::max<qsizetype>(55, 22 + items) + 1)
        std::abort();
    __int128 sum = 0;
    for (qsizetype i = 15; i < 15 + items; ++i)
        sum += lastNumber(lines[i]);
    sum += lastNumber(lines[15 + items]);  // the postage
    if (sum != lastNumber(lines[17 + items]))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::initWindows();
    fuzzing::writeFile(fuzzing::cdFile(QStringLiteral("SYSTEM/Cz/titul.rtf")), "{\\rtf1\\ansi Titul\\par}");
    fuzzing::writeFile(fuzzing::cdFile(QStringLiteral("SYSTEM/Cz/cut.rtf")), "{\\rtf1\\ansi {\\b Tit");
    QFile::copy(fuzzing::cdFile(QStringLiteral("hra/obr.bmp")), fuzzing::cdFile(QStringLiteral("SYSTEM/Obaly/obal.bmp")));
    QFile::copy(fuzzing::cdFile(QStringLiteral("hra/foto.jpg")), fuzzing::cdFile(QStringLiteral("SYSTEM/Obaly/obal.jpg")));
    QFile::copy(fuzzing::cdFile(QStringLiteral("hra/cut.jpg")), fuzzing::cdFile(QStringLiteral("SYSTEM/Obaly/cut.jpg")));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::writeFile(fuzzing::cdFile(QStringLiteral("SYSTEM/dalsicd.INI")),
                       QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));

    katalog::Forms& forms = fuzzing::program().forms();
    katalog::TDalsiNaseCDForm* t = fuzzing::freshWindow(forms.DalsiNaseCDForm, forms.DesktopForm->mnuDalsiTituly);
    if (!t) {
        fuzzing::settle();
        return 0;
    }
    const int titles = std::min(t->SeznamTitulu->count(), MaxTitles);
    for (int row = 0; row < titles; ++row) {
        t->SeznamTitulu->setCurrentRow(row);
        t->ViceInfoClick();
        t->ViceInfoClick();
        t->ObjednavkaChk->Click();
        t->KusuInc->Click();
        t->KusuInc->Click();
        t->KusuDec->Click();
        // Every other title goes out of the order again, by the tick or by its last piece.
        if (row % 2 == 1) {
            t->KusuDec->Click();
            t->KusuDec->Click();
        }
    }
    qsizetype items = 0;
    for (int row = 0; row < t->SeznamTitulu->count(); ++row)
        items += t->Objednavka.FindItem(row) ? 1 : 0;
    forms.TiskForm->FirmaEdit->setText(QStringLiteral("Firma\r\ns.r.o.\t"));
    checkDocument(t->Objednavka.Document(forms.TiskForm->DocumentInputs()), items);
    fuzzing::settle();
    return 0;
}
