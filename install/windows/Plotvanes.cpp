// Shows a plot (.plt) file with gnuplot, the viewer these files are written for: the handler the file
// type names, as Plotvanes does on Linux. The file goes to gnuplot as one quoted argument, never
// through a shell.
#include <windows.h>

#include <string>
#include <string_view>

namespace {
const wchar_t* const title = L"Plotvanes";

// The file is the whole rest of the command line: the file type hands it over unquoted, blanks and all.
std::wstring fileArgument(std::wstring_view line) {
    std::size_t at = 0;
    if (!line.empty() && line.front() == L'"') {
        const std::size_t close = line.find(L'"', 1);
        at = close == std::wstring_view::npos ? line.size() : close + 1;
    } else {
        while (at < line.size() && line[at] != L' ' && line[at] != L'\t')
            ++at;
    }
    std::wstring_view rest = line.substr(at);
    while (!rest.empty() && (rest.front() == L' ' || rest.front() == L'\t'))
        rest.remove_prefix(1);
    while (!rest.empty() && (rest.back() == L' ' || rest.back() == L'\t'))
        rest.remove_suffix(1);
    if (rest.size() >= 2 && rest.front() == L'"' && rest.back() == L'"')
        rest = rest.substr(1, rest.size() - 2);
    return std::wstring(rest);
}

bool isFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring environment(const wchar_t* name) {
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0)
        return {};
    std::wstring value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, value.data(), size);
    value.resize(length < size ? length : 0);
    return value;
}

// "C:\bin" or "\\\\server\\share"; "C:bin" lies in C:'s current folder, as relative as "bin".
bool isAbsolute(const std::wstring& folder) {
    const bool onDrive = folder.size() > 2 && folder[1] == L':' && (folder[2] == L'\\' || folder[2] == L'/');
    return onDrive || folder.starts_with(L"\\\\");
}

// wgnuplot in a folder of the PATH, else where gnuplot's own setup puts it. Never the current folder,
// which may be any folder a plot file lies in.
std::wstring findGnuplot() {
    const std::wstring path = environment(L"PATH");
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(L';', start);
        if (end == std::wstring::npos)
            end = path.size();
        std::wstring folder = path.substr(start, end - start);
        if (isAbsolute(folder)) {
            const std::wstring candidate = folder + (folder.back() == L'\\' ? L"" : L"\\") + L"wgnuplot.exe";
            if (isFile(candidate))
                return candidate;
        }
        start = end + 1;
    }
    const std::wstring programFiles = environment(L"ProgramFiles");
    const std::wstring usual = programFiles + L"\\gnuplot\\bin\\wgnuplot.exe";
    return !programFiles.empty() && isFile(usual) ? usual : std::wstring();
}

int fail(const std::wstring& text) {
    MessageBoxW(nullptr, text.c_str(), title, MB_OK | MB_ICONERROR);
    return 1;
}
} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::wstring file = fileArgument(GetCommandLineW());
    if (file.empty())
        return fail(L"Plotvanes: no file given");
    const std::wstring gnuplot = findGnuplot();
    if (gnuplot.empty())
        return fail(L"Plotvanes: cannot show " + file + L": install gnuplot to view plot files");
    // A Windows file name holds no double quote, so quoting it keeps it one argument.
    std::wstring command = L"\"" + gnuplot + L"\" -persist \"" + file + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(gnuplot.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return fail(L"Plotvanes: cannot start " + gnuplot);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
