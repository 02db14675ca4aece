#pragma once

// The program without windows: --help, --version, --summary, --export-csv, --self-test, --plan. Decided
// before any window exists, so it runs where there is no display. Reads the store read only (no
// password: the file belongs to the operating-system user already) and never changes it.
namespace commandline {

// Whether the arguments ask for the command line: any argument other than Qt's own options for the
// windows (-platform xcb, -style, -reverse, -geometry ...), which reach the windows untouched.
bool wanted(int argc, char *argv[]);

// Runs it with a QCoreApplication of its own; returns the exit status (0 done, 1 a failure said on
// standard error or a self-test that rejected fair chance, 2 a usage mistake).
int run(int argc, char *argv[]);

} // namespace commandline
