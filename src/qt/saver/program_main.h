// The Qt program's entry points below main(): the saver's own command line, and the icon drawn
// at build time (it needs Qt's image scaling, so it is not one of the headless tools).
#pragma once

#include "run/command_line.h"

namespace qsrn {

int SaverMain(int argc, char** argv, const CommandLine& cl);  // the screen-saver modes
int IconMain(int argc, char** argv);   // --icon DIR

}  // namespace qsrn
