// The vault client's key in the registry: the same path below
// HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE.
#pragma once

inline constexpr const wchar_t* kProductKeyPath = L"Software\\Brimwork\\Applications\\Tessaly Enterprise";
