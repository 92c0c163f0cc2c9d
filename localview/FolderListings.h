// What the folders of one planning hold, read from disk once per folder.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

// Planning walks a folder once for its conflict scan and once more for every
// folder entry above it; the disk is read the first time only, and the later
// walks see the same entries in the same order.
class FolderListings {
public:
    struct Entry {
        std::wstring name;
        bool isFolder;
    };

    // Every entry but "." and "..", hidden and system ones included, in the
    // order the file system lists them; none for a folder that cannot be read.
    const std::vector<Entry>& Of(const std::wstring& folder);

private:
    std::unordered_map<std::wstring, std::vector<Entry>> listed_;
};
