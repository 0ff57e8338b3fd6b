#include "Terminal.h"

#if defined(_WIN32)
#include <io.h>
#include <windows.h>
bool IsTerminal(FILE *stream) { return _isatty(_fileno(stream)) != 0; }
void UseUtf8Console() { SetConsoleOutputCP(CP_UTF8); }
#else
#include <unistd.h>
bool IsTerminal(FILE *stream) { return isatty(fileno(stream)) != 0; }
void UseUtf8Console() { }
#endif
