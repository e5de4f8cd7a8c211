// Where the command line's output goes: the standard output the program was given (a file or a
// pipe), or else the console of the process that started it. A program of the GUI subsystem has
// neither of its own; with neither, the output is dropped.
#pragma once

#include <windows.h>

#include <string>

namespace Quoril {

class CConsoleOutput {
public:
    CConsoleOutput();
    ~CConsoleOutput();
    CConsoleOutput(const CConsoleOutput&) = delete;
    CConsoleOutput& operator=(const CConsoleOutput&) = delete;

    // Writes `line` and a line end; line feeds inside it become line ends too. A console gets the
    // text as it is; a file or pipe gets it in the ANSI code page, like every text of the program.
    void WriteLine(const std::wstring& line);

private:
    HANDLE m_handle = nullptr;
    bool m_owned = false;  // opened here (the parent's console), closed here
    bool m_console = false;
};

}  // namespace Quoril
