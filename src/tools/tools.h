// The program's entry points, one per way of running it. argv[0] is the program path.
#pragma once

namespace qsrn {

int PrintSettingsMain(int argc, char** argv);  // --print-settings
int RenderMain(int argc, char** argv);         // --render FILE.png
int BenchMain(int argc, char** argv);          // --bench
int IconMain(int argc, char** argv);           // --icon DIR
int SaverMain(int argc, char** argv);          // everything else: the screen-saver modes

}  // namespace qsrn
