// Shows a plot (.plt) file with gnuplot, the viewer these files are written for: the handler the file
// type names, as Plotvanes does on Linux. The file goes to gnuplot as one quoted argument, never
// through a shell.
#include <windows.h>

#include <shellapi.h>

#include <string>

namespace {
const wchar_t* const title = L"Plotvanes";

// wgnuplot on the PATH, else where gnuplot's own setup puts it.
std::wstring findGnuplot() {
    wchar_t found[MAX_PATH];
    if (SearchPathW(nullptr, L"wgnuplot.exe", nullptr, MAX_PATH, found, nullptr) > 0)
        return found;
    wchar_t programFiles[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"ProgramFiles", programFiles, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    std::wstring usual = std::wstring(programFiles) + L"\\gnuplot\\bin\\wgnuplot.exe";
    return GetFileAttributesW(usual.c_str()) == INVALID_FILE_ATTRIBUTES ? std::wstring() : usual;
}

int fail(const std::wstring& text) {
    MessageBoxW(nullptr, text.c_str(), title, MB_OK | MB_ICONERROR);
    return 1;
}
} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr || count < 2 || arguments[1][0] == L'\0')
        return fail(L"Plotvanes: no file given");
    const std::wstring file = arguments[1];
    LocalFree(arguments);
    const std::wstring gnuplot = findGnuplot();
    if (gnuplot.empty())
        return fail(L"Plotvanes: cannot show " + file + L": install gnuplot to view plot files");
    // A Windows file name holds no double quote, so quoting it keeps it one argument.
    std::wstring command = L"\"" + gnuplot + L"\" -persist \"" + file + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(gnuplot.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return fail(L"Plotvanes: cannot start " + gnuplot);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
