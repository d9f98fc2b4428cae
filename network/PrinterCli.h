#pragma once

// The printer verbs of the command line, run without any window:
//   --printers [--discovery-target ADDR] [--wait SECONDS]
//   --send FILE --printer IP [--printer IP...] [--print] [export options]
//   --control IP pause|stop|take|release
//   --board-firmware IP FILE [--query-interval SECONDS]
// Results are JSON lines on stdout, messages on stderr. Exit status: 0 done, 1 a printer or file
// failed (the message names the printer and the reason), 2 a usage error.

// True when the command line holds one of the printer verbs.
bool isPrinterCommandLine(int argc, char **argv);

// Runs the printer verb of argv. "--discovery-target" must already have been taken out of argv
// (takeDiscoveryTargetOption) or be absent.
int runPrinterCli(int argc, char **argv);

// The text of "--help" for these verbs.
const char *printerCliUsage();
