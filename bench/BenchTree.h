// The trees the benchmark moves: the same shape built at several places, so
// that the module, the floor and the bare loop each move an identical one.
#pragma once

#include <string>
#include <vector>

// `breadth` chains of `levels` nested folders below the moved folder, each
// folder of a chain holding `files` files. {1, 0, n} puts n files in the moved
// folder itself.
struct TreeShape {
    int breadth;
    int levels;
    int files;
};

// Paths below the moved folder, without a leading backslash; depth 0 is the
// moved folder itself (its relative path is empty).
struct TreeFolder {
    std::wstring path;
    int depth;
};
struct TreeFile {
    std::wstring path;
    int folderDepth;
};

struct Tree {
    std::vector<TreeFolder> folders;  // parents before their sub-folders
    std::vector<TreeFile> files;
};

Tree DescribeTree(const TreeShape& shape);
// Makes the folder `root` and everything of `tree` below it.
void BuildTree(const std::wstring& root, const Tree& tree);

// How often planning lists a path of a moved folder: once from the conflict
// scan and once for every folder above it that planning expands; the moved
// folder itself once. A file counts from the folder that holds it.
inline int FolderCopies(int depth) { return depth + 1; }
inline int FileCopies(int folderDepth) { return folderDepth + 2; }

// `base` joined with a relative path of the tree.
inline std::wstring Below(const std::wstring& base, const std::wstring& relative) {
    return relative.empty() ? base : base + L"\\" + relative;
}
