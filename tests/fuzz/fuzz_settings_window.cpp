// A kat.INI text read as start-up reads it; a new settings window's options are switched
// there and back and OK saves them. What was saved reads back as it was shown.
#include "tests/fuzz/WindowFuzz.h"

#include "app/Settings.h"
#include "app/Shell.h"
#include "menu/DesktopUnit1.h"
#include "platform/Errors.h"
#include "settings/NastaveniUnit1.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::initWindows();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzing::writeFile(fuzzing::settingsFile(), QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));

    // Start-up's part: the options read, the font applied to every window.
    katalog::TMain& main = fuzzing::program();
    katalog::Shell& s = katalog::shell();
    platform::guarded([&s] { katalog::NactiNastaveni(s, QSize(1024, 768)); });
    katalog::Forms& forms = main.forms();
    katalog::TNastaveniForm* n = fuzzing::freshWindow(forms.NastaveniForm, forms.DesktopForm->mnuNastaveni);
    if (!n) {
        fuzzing::settle();
        return 0;
    }
    platform::guarded([&main] { main.ApplyAppFont(); });
    n->HudbaChkClick();
    n->AnimaceChkClick();
    n->SongClick(int(size % 6) + 1);
    n->HudbaChkClick();
    n->OKClick();

    const katalog::Shell shown = katalog::shell();
    katalog::Shell read;
    read.WindowsDir = shown.WindowsDir;
    read.SystemDir = shown.SystemDir;
    katalog::NactiNastaveni(read, QSize(1024, 768));
    if (read.MusicOn != shown.MusicOn || read.AnimOn != shown.AnimOn ||
        read.SongNumber != shown.SongNumber || read.SlovakLang != shown.SlovakLang ||
        !(read.AppFont == shown.AppFont))
        std::abort();
    fuzzing::settle();
    return 0;
}
