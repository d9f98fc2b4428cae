#include "updater/PatchwynMain.h"

int main(int argc, char **argv)
{
    return runPatchwyn(argc, argv);
}
