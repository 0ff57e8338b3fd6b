// The simulated radio as a program: a pseudo-terminal whose device path is
// printed on the first line of standard output, answered by RadioSimCore at
// 9600 baud until SIGTERM/SIGINT. Kept in a library so other programs can
// offer it as a subcommand.
#pragma once

// argv[0] is the program name; returns the exit code.
int RunRadioSimulator(int argc, char **argv);
