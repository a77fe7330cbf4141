// Running this test program again as a child process, for paths that end the process
// (fatal start-up errors) or that need a process of their own (one window per process).
#pragma once

#include "tarvik/platform.h"

#include <functional>
#include <string>
#include <vector>

namespace TestSupport {

// Registers a child entry point; run with "--child=<name>", its result is the exit code.
struct ChildEntry {
    ChildEntry(const char* name, int (*entry)());
};

struct MessageBoxSeen {
    std::string caption;
    std::string text;
};

struct ChildResult {
    bool finished = false; // false: killed after the time-out
    DWORD exitCode = 0;
    std::vector<MessageBoxSeen> boxes; // every message box shown, in order
};

// Chooses the button to press for a message box (a dialog control ID such as IDOK or IDNO).
using BoxAnswer = std::function<int(const MessageBoxSeen&)>;

// Runs the child entry `name`, answers each message box it shows, waits for it to end.
ChildResult RunChild(const std::string& name, const BoxAnswer& answer = nullptr,
                     DWORD timeoutMs = 30000);

// Used by the test main: runs the entry named on the command line, if any.
bool RunChildEntryIfRequested(int argc, char** argv, int& exitCode);

} // namespace TestSupport
