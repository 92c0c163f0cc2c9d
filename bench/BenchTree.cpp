#include "BenchTree.h"

#include <windows.h>

#include <fstream>

Tree DescribeTree(const TreeShape& shape) {
    Tree tree;
    tree.folders.push_back({L"", 0});
    auto addFiles = [&](const std::wstring& folder, int depth) {
        for (int i = 0; i < shape.files; ++i) {
            tree.files.push_back({Below(folder, L"part" + std::to_wstring(i) + L".prt"), depth});
        }
    };
    if (shape.levels == 0) addFiles(L"", 0);
    for (int chain = 0; chain < shape.breadth && shape.levels > 0; ++chain) {
        std::wstring folder;
        for (int level = 0; level < shape.levels; ++level) {
            folder = Below(folder, L"d" + std::to_wstring(chain) + L"_" + std::to_wstring(level));
            tree.folders.push_back({folder, level + 1});
            addFiles(folder, level + 1);
        }
    }
    return tree;
}

void BuildTree(const std::wstring& root, const Tree& tree) {
    for (const TreeFolder& folder : tree.folders) CreateDirectoryW(Below(root, folder.path).c_str(), nullptr);
    for (const TreeFile& file : tree.files) {
        std::ofstream(Below(root, file.path).c_str(), std::ios::binary) << "content";
    }
}
