#pragma once

// The updater program: single instance, command line, then the dialog (see Patchwyn).
// Returns the process exit code.
int runPatchwyn(int argc, char **argv);
