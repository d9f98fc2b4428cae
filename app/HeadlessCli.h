#pragma once

// Runs a command-line verb ("--help", ...) without any window: argv[1] is the verb. Returns the
// process exit code; 2 for an unknown verb.
int runHeadless(int argc, char **argv);
