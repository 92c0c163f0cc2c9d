// Which moved folders the shell hears of: the top-most new places, compared
// as text ignoring case, not by path components. A shorter place takes the
// place of the earliest selected one it is a prefix of; failed entries follow
// in order.
#include "localview/NotifyFolderSelection.h"

#include "RecordingHost.h"

#include <gtest/gtest.h>

#include <deque>

TEST(NotifyFolderSelection, TheTopMostPlacesInOrderThenTheFailedOnes) {
    std::deque<LocalMoveData> owned;
    Lst<LocalMoveData*> working, selection;
    for (const wchar_t* path : {L"C:\\r\\ab\\x", L"C:\\r\\ab\\y", L"C:\\r\\AB", L"C:\\r\\abc", L"C:\\r\\ab\\y",
                                L"C:\\r\\b", L"C:\\r\\b\\z"}) {
        owned.push_back({nullptr, L"C:\\old", path, true});
        working.Append(&owned.back());
    }
    Lst<MoveErrorEntry*> errors;
    errors.Append(new MoveErrorEntry(L"C:\\OLD", L"C:\\r\\B", E_FAIL, L""));
    SelectNotifyFolders(working, FailedMoves(errors), selection);
    errors.DeleteAll();
    EXPECT_EQ(Elements(selection), (std::vector<LocalMoveData*>{&owned[1], &owned[2], &owned[6], &owned[5]}));
}
