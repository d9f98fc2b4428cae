#include <QCoreApplication>

#include <cstdio>

// The updater's dialog and its service client are not part of this build yet: say so plainly
// instead of pretending that an update check ran.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::fputs("Patchwyn: the updater is not available in this build; no update check was run.\n",
               stderr);
    return 1;
}
