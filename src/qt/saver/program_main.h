// The Qt program's entry points below main(): the saver's own command line, and the icon drawn
// at build time (it needs Qt's image scaling, so it is not one of the headless tools).
#pragma once

namespace qsrn {

int SaverMain(int argc, char** argv);  // the screen-saver modes
int IconMain(int argc, char** argv);   // --icon DIR

}  // namespace qsrn
