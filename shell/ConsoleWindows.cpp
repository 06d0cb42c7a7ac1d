#include "shell/Console.h"

#include <windows.h>

#include <cstdio>

namespace {

bool LeadsNowhere(DWORD stream) {
    const HANDLE handle = GetStdHandle(stream);
    return handle == nullptr || handle == INVALID_HANDLE_VALUE;
}

}  // namespace

void AttachParentConsole() {
    const bool out = LeadsNowhere(STD_OUTPUT_HANDLE);
    const bool err = LeadsNowhere(STD_ERROR_HANDLE);
    if ((!out && !err) || !AttachConsole(ATTACH_PARENT_PROCESS)) {
        return;
    }
    if (out) {
        std::freopen("CONOUT$", "w", stdout);
    }
    if (err) {
        std::freopen("CONOUT$", "w", stderr);
    }
}
