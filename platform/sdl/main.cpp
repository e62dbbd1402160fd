// The native program's entry: the command line as Windows would hand it over, SDL, then the
// front-end's own entry, which ends the process through ExitProcess.
#include "platform/sdl/system.h"
#include "shell/shell.h"

int main(int argc, char **argv)
{
    System_Begin(argc, argv);
    Main_Startup();
}
