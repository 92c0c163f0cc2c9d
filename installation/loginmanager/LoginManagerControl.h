// How a test steers the login manager stand-in while it runs.
#pragma once

// With hold-mutex=1 the stand-in holds the table's mutex, and writes the
// table, only once this event is set. It creates the event itself before it
// reports being ready.
inline constexpr const wchar_t* kLoginManagerReleaseEvent = L"GhStandinLoginManager-release";
