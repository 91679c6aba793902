/* A tiny Windows program for recording what Wine hands to Windows programs.
 * With the environment variable SHORT_PATH_OF set, it writes GetShortPathNameW() of that path,
 * as an installer that records short names would see it; otherwise it writes its own command
 * line, as GetCommandLineW() gives it. The text goes, UTF-8 and one line, to the file that
 * CMDLINE_OUT names. Built by record.sh with Debian's mingw-w64. */
#include <windows.h>

static int write_line(const WCHAR* out, const WCHAR* text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, NULL, 0, NULL, NULL);
    char* utf8 = HeapAlloc(GetProcessHeap(), 0, size);
    DWORD written;
    HANDLE f;
    if (!utf8)
        return 3;
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, size, NULL, NULL);
    f = CreateFileW(out, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (f == INVALID_HANDLE_VALUE)
        return 3;
    WriteFile(f, utf8, (DWORD)(size - 1), &written, NULL);
    WriteFile(f, "\n", 1, &written, NULL);
    CloseHandle(f);
    return 0;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR args, int show) {
    static WCHAR out[MAX_PATH], path[32768], shortPath[32768];
    (void)instance; (void)previous; (void)args; (void)show;
    if (!GetEnvironmentVariableW(L"CMDLINE_OUT", out, MAX_PATH))
        return 2;
    if (GetEnvironmentVariableW(L"SHORT_PATH_OF", path, 32768)) {
        if (!GetShortPathNameW(path, shortPath, 32768))
            return 4;
        return write_line(out, shortPath);
    }
    return write_line(out, GetCommandLineW());
}
