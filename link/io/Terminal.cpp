#include "Terminal.h"

#if defined(_WIN32)
#include <io.h>
#include <windows.h>

bool IsTerminal(FILE *stream) { return _isatty(_fileno(stream)) != 0; }

namespace {

// The last handler asked: the tool's own ones (several radios at once)
// are asked first and may take Ctrl+C themselves.
BOOL WINAPI EndOnCtrlC(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    ExitProcess(130);
}

} // namespace

void SetUpConsole()
{
    SetConsoleOutputCP(CP_UTF8);
    SetConsoleCtrlHandler(EndOnCtrlC, TRUE);
}
#else
#include <unistd.h>
bool IsTerminal(FILE *stream) { return isatty(fileno(stream)) != 0; }
void SetUpConsole() { }
#endif
