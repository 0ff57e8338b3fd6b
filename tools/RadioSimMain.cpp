#include "RadioSimulator.h"

int main(int argc, char *argv[]) { return RunRadioSimulator(argc, argv); }
