// A function of a system library that older Windows lack: looked up, never imported, so the
// program still starts there.
#pragma once

#include <windows.h>

// The function, or null where the library or the function is missing.
template <typename Function>
Function SystemFunction(const char* library, const char* name) {
    const HMODULE module = LoadLibraryA(library);
    return module
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
               : nullptr;
}
