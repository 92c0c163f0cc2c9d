// Load and unload handling of the library: the module handle and the
// text-localisation service, both process-wide.
#pragma once

#include <windows.h>

struct ITextCatalog;

void OnProcessAttach(HMODULE module);
// `processTerminating`: the process is ending, not the library being freed.
void OnProcessDetach(bool processTerminating);

// The library's own module handle (null before the library was attached).
HMODULE ModuleHandle();
// The service for the module "Move", or null when none is available.
ITextCatalog* TextCatalogService();
