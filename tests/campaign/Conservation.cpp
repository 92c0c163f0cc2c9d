#include "Conservation.h"

#include "TestFolder.h"

#include <functional>
#include <map>
#include <vector>

namespace {

void VisitFiles(const std::wstring& folder, const std::function<void(const std::wstring&)>& visit) {
    ForEachEntry(folder, [&](const std::wstring& path, bool isFolder) {
        isFolder ? VisitFiles(path, visit) : visit(path);
    });
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

Conservation CheckConservation(const RunPlan& plan, const std::wstring& localRoot) {
    std::map<std::string, int> fileOfToken;
    for (size_t i = 0; i < plan.files.size(); ++i) fileOfToken[FileToken(plan, int(i))] = int(i);
    std::vector<int> complete(plan.files.size(), 0);

    Conservation result;
    VisitFiles(localRoot, [&](const std::wstring& path) {
        const std::string content = ReadBytes(path);
        const size_t at = content.find("\r\nid ");
        const size_t end = at == std::string::npos ? at : content.find("\r\n", at + 5);
        const auto token = end == std::string::npos ? fileOfToken.end()
                                                    : fileOfToken.find(content.substr(at + 5, end - at - 5));
        if (token == fileOfToken.end()) {
            ++result.truncated;
            return;
        }
        const int file = token->second;
        const bool whole = content.compare(0, 10, "FWTEXT 1\r\n") == 0 && EndsWith(content, FileBody(plan, file));
        whole ? ++complete[file] : ++result.truncated;
    });
    const bool copiesMayBeInterrupted = plan.fault == Fault::Killed || plan.fault == Fault::DiskFull;
    for (int found : complete) {
        if (found == 0) ++result.lost;
        if (found > 1 && !copiesMayBeInterrupted) ++result.duplicated;
    }
    return result;
}
