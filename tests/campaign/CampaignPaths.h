// Where the campaign keeps its runs; tools/campaign.sh puts the small volume at the view's folder "Full".
#pragma once

#include <string>

namespace campaign {

inline const std::wstring kBase = L"C:\\campaign";
inline const std::wstring kView = kBase + L"\\view";  // the local view, without a trailing backslash
inline const std::wstring kStandinDir = kBase + L"\\standin";
inline const std::wstring kWithoutManager = kBase + L"\\without-manager";  // GhMove.dll alone
inline const std::wstring kResultPath = kBase + L"\\result.txt";

}  // namespace campaign
