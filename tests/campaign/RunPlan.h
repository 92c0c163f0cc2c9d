// One run of the campaign drawn from its seed alone (so the controller and the run draw the same): the tree, the
// operation, the fault and the code the module must answer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

enum class Fault {
    None,
    ResolveFails,          // the host cannot resolve the names
    DatabaseFails,         // MoveInDatabase answers a failure
    DatabaseRefuses,       // the database refuses items one by one
    ListingFails,          // ListReferenceUpdates answers a failure
    AddInVetoes,
    AddInFailsBefore,
    AddInFailsAfter,
    InvalidName,
    TargetExists,          // the destination already holds an item of that name
    ManagerMissing,        // no file-format manager beside the module
    ManagerFails,          // every rewrite fails
    // From here to MessageBoxMissing: the components that speak to the user.
    CatalogueMissing,      // the text catalogue is not installed
    CatalogueFails,        // it fails to start or to translate
    ReportMissing,         // the report dialog is not installed
    ReportFails,           // it fails or lacks its interface
    MessageBoxMissing,     // the message-box library cannot be found
    ServiceHangs,          // the local view service never answers, until it is stopped
    ServiceDrops,          // it closes the pipe instead of answering
    DiskFull,              // the destination lies on a small, full volume
    FileHeld,              // another process holds a moved or a rewritten file
    FolderVanishes,        // a planned folder goes between planning and execution
    FolderAppears,         // a folder turns up inside a moving folder meanwhile
    Killed,                // the process is killed at a random moment
    Count
};

const wchar_t* FaultName(Fault fault);

struct PlannedFolder {
    int parent;  // index of the parent folder; -1 for the root
    std::wstring name;
};

struct PlannedFile {
    int folder;
    std::wstring name;
    std::vector<int> references;  // indexes of the files it references
    size_t padding;               // length of its padding line
    bool readOnly;
};

struct PlannedItem {
    bool isFolder;
    int index;          // into folders or files
    int destFolder;     // index; the item's own folder for a rename in place
    std::wstring newName;
};

struct RunPlan {
    uint32_t seed = 0;
    std::vector<PlannedFolder> folders;  // [0] is the root, [1] the folder on the small volume
    std::vector<PlannedFile> files;
    std::vector<PlannedItem> items;
    Fault fault = Fault::None;
    bool silent = true;
    HRESULT faultCode = S_OK;  // the code a failing component answers
    int faultFile = -1;        // the held file
    int faultFolder = -1;      // the folder that vanishes, or inside which one appears
    DWORD delayMs = 0;         // until the kill, or until the hanging service is stopped

    // Every item renames (the operation is presented as a rename).
    bool IsRename() const;
    bool RenamesToDevice() const;
    // The code the module must answer; `localProblems`: errors or refErrors
    // were recorded. Killed runs have none.
    HRESULT Expected(bool localProblems) const;
};

// `smallVolume`: folder [1] lies on a small volume of its own, so disk-full
// runs can be drawn.
RunPlan DrawPlan(uint32_t seed, bool smallVolume);

// The vault path of a folder ("\A\B\", the root "\").
std::wstring FolderPath(const RunPlan& plan, int folder);
// What a planned file holds after its header and references: its identity,
// its padding and the line that closes it.
std::string FileBody(const RunPlan& plan, int file);
std::string FileToken(const RunPlan& plan, int file);
