// fgd-composer.com: the program as a Windows console runs it. Windows starts fgd-composer.exe,
// a windowed program, without a console: typed at a command prompt it returns at once, and
// what it prints and its exit status are lost. Command prompts try .com before .exe, so
// "fgd-composer --check mymod.fgd" starts this small console program instead. It starts
// fgd-composer.exe beside it with the same command line, hands it this console's input and
// output, waits for it and ends with its exit status, as devenv.com does for devenv.exe.
// The program writes its findings in UTF-8, so the console shows them in UTF-8 meanwhile. Ctrl+C
// ends the waiting only: a window the program opened stays open with its work.

#include <windows.h>

#include <string>

namespace {

// The path of fgd-composer.exe: this program's own, with .exe for its extension.
std::wstring windowedProgram() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t dot = path.find_last_of(L'.');
    const size_t folder = path.find_last_of(L"\\/");
    if (dot != std::wstring::npos && (folder == std::wstring::npos || dot > folder))
        path.resize(dot);
    return path + L".exe";
}

UINT consoleCodePage = 0; // the console's own, to give back; 0 without a console

// Ctrl+C or closing the console ends this program: the console gets its code page back first.
BOOL WINAPI restoreCodePage(DWORD) {
    if (consoleCodePage != 0)
        SetConsoleOutputCP(consoleCodePage);
    return FALSE; // and then the usual ending
}

void say(const char* text) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), text, DWORD(lstrlenA(text)), &written, nullptr);
}

} // namespace

int main() {
    const std::wstring program = windowedProgram();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    // CreateProcessW may write to the command line it is given, so it gets a copy.
    std::wstring commandLine = GetCommandLineW();
    PROCESS_INFORMATION started{};
    // A program just unpacked may be held for a moment by a virus scanner: try a few times.
    bool running = false;
    for (int attempt = 0; !program.empty() && !running && attempt < 5; ++attempt) {
        if (attempt > 0)
            Sleep(200);
        running = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                                 nullptr, nullptr, &startup, &started);
    }
    if (!running) {
        char reason[512] = "";
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       GetLastError(), 0, reason, sizeof reason, nullptr);
        say("fgd-composer: fgd-composer.exe could not be started (it must lie in the same "
            "folder as fgd-composer.com): ");
        say(reason);
        say("\r\n");
        return 2;
    }
    CloseHandle(started.hThread);
    consoleCodePage = GetConsoleOutputCP();
    if (consoleCodePage != 0) {
        SetConsoleCtrlHandler(restoreCodePage, TRUE);
        SetConsoleOutputCP(CP_UTF8);
    }
    WaitForSingleObject(started.hProcess, INFINITE);
    restoreCodePage(0);
    DWORD status = 2;
    GetExitCodeProcess(started.hProcess, &status);
    CloseHandle(started.hProcess);
    return int(status);
}
