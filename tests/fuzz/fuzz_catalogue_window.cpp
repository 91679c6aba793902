// A catalogue text (the container's decoded form) and its description blocks, cut at lines
// "--", made into the CD's container and loaded by a new catalogue window, which is gone
// through as a user would: every section and the favourites, a search, each row with its
// buttons and pictures, a favourite toggled, everything in each order.
#include "tests/fuzz/WindowFuzz.h"

#include "app/Shell.h"
#include "catalogue/ContainerBuilder.h"
#include "catalogue/ProgramyFormUnit1.h"
#include "menu/DesktopUnit1.h"
#include "viewer/PicFormUnit1.h"
#include "widgets/EzRgnBtn.h"

#include <QRegularExpression>

#include <algorithm>
#include <cstdint>

namespace {

// Enough rows, sections and descriptions to reach every path; more only slow each input.
constexpr int MaxSections = 8;
constexpr int MaxRows = 6;
constexpr qsizetype MaxDescriptions = 64;

// A word of the descriptions to search for; "popisu" finds the programs without one.
QString searchWord(const QList<QByteArrayView>& parts) {
    static const QRegularExpression word(QStringLiteral("[A-Za-z]{3,}"));
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const auto match = word.match(QString::fromLatin1(parts[i]));
        if (match.hasMatch())
            return match.captured();
    }
    return QStringLiteral("popisu");
}

void goThroughRows(katalog::TProgramyForm* f, katalog::TMain& main) {
    const int rows = std::min(f->SeznamProgramu->count(), MaxRows);
    for (int row = 0; row < rows; ++row) {
        f->SeznamProgramu->setCurrentRow(row);
        f->Spustit->Click();
        f->Instalovat->Click();
        f->Popis->Click();
        f->Internet->Click();
    }
    if (rows == 0)
        return;
    // The first row's pictures in the viewer, and its favourite mark toggled.
    f->SeznamProgramu->setCurrentRow(0);
    katalog::TPicForm* viewer = main.forms().PicForm;
    if (!katalog::shell().ViewerPictures.isEmpty() && viewer) {
        viewer->show();
        for (int i = 0; i < 4 && viewer->isVisible(); ++i)
            viewer->DesktopClick();
        viewer->hide();
    }
    f->btnZalozky->Click();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::initWindows();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto parts = fuzzing::parts(data, size, MaxDescriptions + 1);
    katalog::ContainerBuilder builder(0, {});
    for (qsizetype i = 1; i < parts.size(); ++i)
        builder.addDescription(parts[i]);
    fuzzing::writeFile(fuzzing::cdFile(QStringLiteral("SYSTEM/MAP.PIC")), builder.build(parts[0]));
    fuzzing::writeFile(fuzzing::settingsFile(), "[Music]\r\nMusic=Off\r\n");

    katalog::TMain& main = fuzzing::program();
    katalog::Forms& forms = main.forms();
    katalog::TProgramyForm* f = fuzzing::freshWindow(forms.ProgramyForm, forms.DesktopForm->mnuProgramy);
    if (!f) {
        fuzzing::settle();
        return 0;
    }
    const QString word = searchWord(parts);
    // The box's last two entries are the favourites and everything; they come last.
    const int count = f->SeznamSekci->count();
    QList<int> sections;
    for (int i = 0; i < std::min(count - 2, MaxSections); ++i)
        sections.append(i);
    sections << count - 2 << count - 1;
    for (const int section : std::as_const(sections)) {
        f->SeznamSekci->setCurrentIndex(section);
        f->SeznamSekciChange(section);
        goThroughRows(f, main);
        f->Edit1->setText(word);
        f->FiltrClick();
        goThroughRows(f, main);
    }
    // Everything, in each order.
    f->SeznamSekci->setCurrentIndex(count - 1);
    f->SeznamSekciChange(count - 1);
    for (int order = 0; order < f->TypTrideni->count(); ++order) {
        f->TypTrideni->setCurrentIndex(order);
        f->TypTrideniChange(order);
        f->SeznamProgramu->setCurrentRow(0);
    }
    fuzzing::settle();
    return 0;
}
