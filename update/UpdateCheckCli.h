#pragma once

// "Resinor --check-update [--update-url URL]": asks the update service for
// "windows_latestversion" and prints one JSON object with the current version and, on success,
// the offered version and download address, else the failure message. Exit status 0 when the
// service answered (a new version or not), 1 on a failed check, 2 on a usage error.
int runUpdateCheckCommand(int argc, char **argv);

// Removes "--update-url URL" from argv (shifting the rest down, argc adjusted) and makes URL the
// service address of this run. Returns false when the option lacks its value.
bool takeUpdateUrlOption(int &argc, char **argv);
