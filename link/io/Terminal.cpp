#include "Terminal.h"

#if defined(_WIN32)
#include <io.h>
bool IsTerminal(FILE *stream) { return _isatty(_fileno(stream)) != 0; }
#else
#include <unistd.h>
bool IsTerminal(FILE *stream) { return isatty(fileno(stream)) != 0; }
#endif
