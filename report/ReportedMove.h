// What the error report asks of the move or rename it reports on, beyond the
// request's failure lists.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class ReportedMove {
public:
    // The title of every window the report opens.
    virtual std::wstring Caption() const = 0;
    // The vault files that share a name, for a report item that offers them.
    virtual HRESULT ShowNonUniqueFiles(const std::vector<std::wstring>* paths,
                                       const std::vector<std::wstring>* otherPaths) = 0;

protected:
    ~ReportedMove() = default;
};
