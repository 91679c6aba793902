#pragma once
// What the window fuzz targets share: an offscreen application, a CD folder with the demo
// CD's large skins (Czech and Slovak) and a few program files, a settings folder of its own.
// Messages and starts go nowhere.
#include "app/MainFormUnit1.h"
#include "platform/Errors.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace fuzzing {

void initWindows();
QString cdFile(const QString& rel);
void writeFile(const QString& path, QByteArrayView bytes);
// kat.INI in the settings folder.
QString settingsFile();

// The program, started once on the CD with the fuzz screen and started again after an input
// that made it end.
katalog::TMain& program();
// A window of the program made anew and shown in place of the one in slot, so that every
// input meets a window that no earlier input touched. Null when the program asked to end.
template <class Form>
Form* freshWindow(Form*& slot, katalog::TEzRgnBtn* button) {
    katalog::TMain& main = program();
    auto* form = new Form(main, main.forms().DesktopForm);
    platform::guarded([form] { form->FormCreate(); });
    main.ZobrazOkno(form, button);
    delete slot;
    slot = form;
    return main.terminationRequested() ? nullptr : form;
}
// Lets the events an input left behind run; a program that asked to end is ended.
void settle();

// The input cut at each line "--": at most max parts, the last one takes the rest.
QList<QByteArrayView> parts(const uint8_t* data, size_t size, qsizetype max);

}  // namespace fuzzing
