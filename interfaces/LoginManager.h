// The login manager's shared login table: a named section holding one record
// per vault login, guarded by a named mutex, and the two events it signals.
// Kept free of Windows headers so that the table's reader builds anywhere.
#pragma once

#include <cstddef>

inline constexpr const wchar_t* kLoginMutexName = L"2DAA257C-78B8-406B-AE21-131346B0BE60";
inline constexpr const wchar_t* kLoginAddEventName = L"LoginAddEvent_2DAA257C-78B8-406B-AE21-131346B0BE60";
inline constexpr const wchar_t* kLoginRemoveEventName = L"LoginRemEvent_2DAA257C-78B8-406B-AE21-131346B0BE60";
inline constexpr const wchar_t* kLoginSectionName = L"67638A32-B919-4454-A863-ADC949651373";

// A record, little-endian with no padding: seven UTF-16 texts, each ending
// with a zero character (the second is the vault name), then six unsigned
// 32-bit numbers (the last is a flag). A record whose first character is zero
// ends the table.
inline constexpr size_t kLoginRecordTexts = 7;
inline constexpr size_t kLoginRecordNumbers = 6;
