#include "support/child_process.h"

#include <cstring>
#include <map>

namespace TestSupport {

namespace {

std::map<std::string, int (*)()>& Entries()
{
    static std::map<std::string, int (*)()> entries;
    return entries;
}

const char CHILD_FLAG[] = "--child=";

std::string WindowText(HWND window)
{
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

struct BoxSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindProcessDialog(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<BoxSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (owner == search->processId && std::strcmp(cls, "#32770") == 0 && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindDialogOf(DWORD processId)
{
    BoxSearch search{processId, nullptr};
    EnumWindows(FindProcessDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Presses a dialog button the way a click does, and waits until the box is gone.
void PressButton(HWND box, int id)
{
    HWND button = GetDlgItem(box, id);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    for (int i = 0; i < 500 && IsWindow(box); ++i) Sleep(10);
}

} // namespace

ChildEntry::ChildEntry(const char* name, int (*entry)()) { Entries()[name] = entry; }

bool RunChildEntryIfRequested(int argc, char** argv, int& exitCode)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], CHILD_FLAG, sizeof CHILD_FLAG - 1) != 0) continue;
        auto found = Entries().find(argv[i] + sizeof CHILD_FLAG - 1);
        exitCode = found == Entries().end() ? 99 : found->second();
        return true;
    }
    return false;
}

ChildResult RunChild(const std::string& name, const BoxAnswer& answer, DWORD timeoutMs)
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = std::string("\"") + self + "\" " + CHILD_FLAG + name;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ChildResult result;
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return result;

    const DWORD deadline = GetTickCount() + timeoutMs;
    HWND lastBox = nullptr;
    while (WaitForSingleObject(process.hProcess, 20) == WAIT_TIMEOUT) {
        if (GetTickCount() - deadline < 0x80000000u) {
            TerminateProcess(process.hProcess, 255);
            WaitForSingleObject(process.hProcess, 5000);
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
            return result;
        }
        HWND box = FindDialogOf(process.dwProcessId);
        if (!box || box == lastBox) continue;
        Sleep(50); // let the box finish building its controls
        MessageBoxSeen seen{WindowText(box), WindowText(GetDlgItem(box, 0xFFFF))};
        result.boxes.push_back(seen);
        lastBox = box;
        PressButton(box, answer ? answer(seen) : IDOK);
    }
    result.finished = true;
    GetExitCodeProcess(process.hProcess, &result.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

} // namespace TestSupport
