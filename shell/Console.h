// What the program prints for a person (its usage, its version, a wrong
// command line) must reach them on every system.
#pragma once

#ifdef _WIN32
// mazewalk.exe is a windows-subsystem program, so it starts without a
// console: where stdout or stderr leads nowhere, this points it at the
// console of the program that started mazewalk, if there is one. Output
// already sent to a file or a pipe stays there. Call before printing.
void AttachParentConsole();
#else
inline void AttachParentConsole() {}
#endif
