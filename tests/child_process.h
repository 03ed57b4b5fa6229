// Runs a program of the build as a child process and watches it from outside.
#pragma once

#include <windows.h>

#include <string>

struct ChildRun {
    DWORD exitCode = STILL_ACTIVE;
    std::string output;          // what the child wrote to its standard output, lines ended by \n
    std::string messageBoxText;  // the text of the first message box it showed, closed with OK
    bool finished = false;       // false when it was still running at the deadline (then killed)
};

// The directory of the running test program, with a trailing backslash.
std::wstring ProgramDirectory();

// Starts `program` with `arguments` in `directory`, answers the first message box it shows with
// OK, and waits for it to end (at most `timeoutMs`).
ChildRun RunChild(const std::wstring& program, const std::wstring& arguments, const std::wstring& directory,
                  DWORD timeoutMs = 60000);
