#pragma once

// "Resinor --maintain IP OPERATION [FILE|DIR] [--ssh-port N] [--ssh-user NAME]
// [--ssh-identity KEYFILE]": runs one maintenance operation on a printer's controller without
// any window, printing each step and the outcome. The password comes from the settings or
// the environment variable RESINOR_SSH_PASSWORD, never from the command line.
// Returns 0 when every step succeeded, 1 when one failed (named with the remote error),
// 2 for a usage error. argv[1] is "--maintain".
int runMaintainCommandLine(int argc, char **argv);

// The usage text of the verb.
const char *maintainUsage();
