#include "RunPlan.h"

#include "GhMove.h"

#include <algorithm>
#include <iterator>
#include <random>
#include <set>

namespace {

constexpr HRESULT kComponentFailures[] = {E_FAIL, E_OUTOFMEMORY, static_cast<HRESULT>(0x80040500),
                                          HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)};

// Names the rules accept although they look odd; the files and folders of a
// tree carry them, and renames choose them.
const std::wstring kOddStems[] = {L"bolt", L"a.b", L".cfg", L"x..y", L" lead", L"Ünïcödé", L"semi;colon",
                                  L"L" + std::wstring(90, L'n')};
const std::wstring kOddNewNames[] = {L"renamed", L".dot", L"two..dots", L"end.", L"CON", L"tab\there",
                                     L"Ωmega ✓", L"R" + std::wstring(150, L'r')};
// Names the rules refuse.
const std::wstring kInvalidNames[] = {L"a:b",  L"a/b",  L"a*",  L"what?", L"x<y", L"a|b",     L"q\"t",
                                      L"c\rr", L"l\nf", L"v\vt", L".",    L"...", L"desktop.ini", L"DeskTop.INI"};
constexpr const wchar_t* kExtensions[] = {L".prt", L".asm", L".drw", L".txt"};

class Draw {
public:
    explicit Draw(uint32_t seed) : engine_(seed) {}
    int Below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(engine_); }
    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }
    bool Chance(int percent) { return Below(100) < percent; }
    template <class T, size_t N>
    const T& Of(const T (&choices)[N]) { return choices[Below(static_cast<int>(N))]; }

private:
    std::mt19937 engine_;
};

bool IsInside(const RunPlan& plan, int folder, int ancestor) {
    for (; folder >= 0; folder = plan.folders[folder].parent) {
        if (folder == ancestor) return true;
    }
    return false;
}

void DrawTree(RunPlan& plan, Draw& draw, bool bigFiles) {
    plan.folders = {{-1, L""}, {0, L"Full"}};
    const int folders = draw.Between(2, 7);
    for (int i = 0; i < folders; ++i) {
        int parent = draw.Below(static_cast<int>(plan.folders.size()));
        if (parent == 1) parent = 0;  // the small volume starts empty
        plan.folders.push_back({parent, draw.Of(kOddStems) + L" " + std::to_wstring(i)});
    }
    const int files = draw.Between(3, 16);
    for (int i = 0; i < files; ++i) {
        int folder = draw.Below(static_cast<int>(plan.folders.size()));
        if (folder == 1) folder = 0;
        const size_t padding = bigFiles ? draw.Between(6000, 14000) : draw.Between(0, 3000);
        plan.files.push_back({folder, draw.Of(kOddStems) + L"-" + std::to_wstring(i) + draw.Of(kExtensions), {},
                              padding, draw.Chance(15)});
    }
    // Documents reference files written before them, so every stored path names a file.
    for (int i = 1; i < files; ++i) {
        for (int r = draw.Below(3); r > 0; --r) plan.files[i].references.push_back(draw.Below(i));
    }
}

// Folders other than the root and the small volume's.
int MovableFolder(const RunPlan& plan, Draw& draw) {
    return 2 + draw.Below(static_cast<int>(plan.folders.size()) - 2);
}

enum class Operation { MoveFiles, MoveFolder, RenameFile, RenameFolder };

void DrawMoveFiles(RunPlan& plan, Draw& draw, int dest) {
    std::vector<int> candidates;
    for (int i = 0; i < static_cast<int>(plan.files.size()); ++i) {
        if (plan.files[i].folder != dest) candidates.push_back(i);
    }
    std::shuffle(candidates.begin(), candidates.end(), std::mt19937(draw.Below(1 << 30)));
    candidates.resize(std::min<size_t>(candidates.size(), draw.Between(1, 4)));
    for (int file : candidates) plan.items.push_back({false, file, dest, L""});
}

void DrawMoveFolder(RunPlan& plan, Draw& draw, int dest) {
    const int folder = MovableFolder(plan, draw);
    if (IsInside(plan, dest, folder) || plan.folders[folder].parent == dest) dest = 1;
    plan.items.push_back({true, folder, dest, L""});
}

void DrawOperation(RunPlan& plan, Draw& draw, Operation operation, int dest) {
    switch (operation) {
    case Operation::MoveFiles: return DrawMoveFiles(plan, draw, dest);
    case Operation::MoveFolder: return DrawMoveFolder(plan, draw, dest);
    case Operation::RenameFile: {
        const int file = draw.Below(static_cast<int>(plan.files.size()));
        plan.items.push_back({false, file, plan.files[file].folder, draw.Of(kOddNewNames) + kExtensions[0]});
        return;
    }
    case Operation::RenameFolder: {
        const int folder = MovableFolder(plan, draw);
        plan.items.push_back({true, folder, folder, draw.Of(kOddNewNames)});
        return;
    }
    }
}

// The files the operation moves or renames, directly or inside a folder.
std::vector<int> FilesConcerned(const RunPlan& plan) {
    std::set<int> concerned;
    for (const PlannedItem& item : plan.items) {
        if (!item.isFolder) {
            concerned.insert(item.index);
            continue;
        }
        for (int i = 0; i < static_cast<int>(plan.files.size()); ++i) {
            if (IsInside(plan, plan.files[i].folder, item.index)) concerned.insert(i);
        }
    }
    return {concerned.begin(), concerned.end()};
}

// A document outside the operation that references a concerned file, made so
// when there is none.
int ReferencingDocument(RunPlan& plan, Draw& draw, const std::vector<int>& concerned) {
    for (int i = 0; i < static_cast<int>(plan.files.size()); ++i) {
        if (std::find(concerned.begin(), concerned.end(), i) != concerned.end()) continue;
        for (int referenced : plan.files[i].references) {
            if (std::find(concerned.begin(), concerned.end(), referenced) != concerned.end()) return i;
        }
    }
    plan.files.push_back({0, L"referencing-" + std::to_wstring(plan.files.size()) + L".asm",
                          {concerned[draw.Below(static_cast<int>(concerned.size()))]}, 10, false});
    return static_cast<int>(plan.files.size()) - 1;
}

// Adjusts the drawn operation so that the fault meets it.
void ArrangeFault(RunPlan& plan, Draw& draw) {
    const std::vector<int> concerned = FilesConcerned(plan);
    switch (plan.fault) {
    case Fault::DatabaseRefuses:
        plan.items.clear();
        DrawMoveFiles(plan, draw, 0);
        if (plan.items.empty()) plan.fault = Fault::None;
        break;
    case Fault::InvalidName:
        plan.items.back().newName = draw.Of(kInvalidNames);
        break;
    case Fault::TargetExists: {
        // Another file of the vault comes to lie beside the renamed one under the new name.
        plan.items.clear();
        const int renamed = draw.Below(static_cast<int>(plan.files.size()));
        const int other = (renamed + 1) % static_cast<int>(plan.files.size());
        plan.files[other].folder = plan.files[renamed].folder;
        plan.items.push_back({false, renamed, plan.files[renamed].folder, plan.files[other].name});
        break;
    }
    case Fault::FileHeld:
    case Fault::MessageBoxMissing:
        if (concerned.empty()) {
            plan.fault = Fault::None;
        } else if (plan.fault == Fault::FileHeld && draw.Chance(50)) {
            plan.faultFile = concerned[draw.Below(static_cast<int>(concerned.size()))];
        } else {
            plan.faultFile = ReferencingDocument(plan, draw, concerned);
        }
        break;
    case Fault::FolderVanishes:
        // An empty destination folder, made for the move.
        plan.folders.push_back({0, L"Vanishing"});
        plan.faultFolder = static_cast<int>(plan.folders.size()) - 1;
        plan.items.clear();
        DrawMoveFiles(plan, draw, plan.faultFolder);
        break;
    case Fault::FolderAppears:
        if (!plan.items.back().isFolder) {
            plan.items.clear();
            DrawOperation(plan, draw, Operation::MoveFolder, draw.Below(static_cast<int>(plan.folders.size())));
        }
        plan.faultFolder = plan.items.back().index;
        break;
    default:
        break;
    }
}

}  // namespace

const wchar_t* FaultName(Fault fault) {
    static const wchar_t* const kNames[] = {
        L"none", L"resolve-fails", L"database-fails", L"database-refuses", L"listing-fails", L"add-in-vetoes",
        L"add-in-fails-before", L"add-in-fails-after", L"invalid-name", L"target-exists", L"manager-missing",
        L"manager-fails", L"catalogue-missing", L"catalogue-fails", L"report-missing", L"report-fails",
        L"message-box-missing", L"service-hangs", L"service-drops", L"disk-full", L"file-held", L"folder-vanishes",
        L"folder-appears", L"killed"};
    static_assert(std::size(kNames) == static_cast<size_t>(Fault::Count), "a name for every fault");
    return kNames[static_cast<size_t>(fault)];
}

RunPlan DrawPlan(uint32_t seed, bool smallVolume) {
    RunPlan plan;
    plan.seed = seed;
    Draw draw(seed);
    // One run in four goes without a fault.
    plan.fault = draw.Chance(25) ? Fault::None : static_cast<Fault>(1 + draw.Below(static_cast<int>(Fault::Count) - 1));
    if (plan.fault == Fault::DiskFull && !smallVolume) plan.fault = Fault::None;
    DrawTree(plan, draw, plan.fault == Fault::DiskFull);

    Operation operation = static_cast<Operation>(draw.Below(4));
    int dest = draw.Below(static_cast<int>(plan.folders.size()));
    if (plan.fault == Fault::DiskFull) {
        operation = draw.Chance(50) ? Operation::MoveFiles : Operation::MoveFolder;
        dest = 1;
    }
    DrawOperation(plan, draw, operation, dest);
    if (plan.items.empty()) DrawOperation(plan, draw, Operation::RenameFile, 0);

    plan.silent = draw.Chance(70);
    // Faults of the components that speak to the user need a run that is not silent.
    if (plan.fault >= Fault::CatalogueMissing && plan.fault <= Fault::MessageBoxMissing) plan.silent = false;
    plan.faultCode = draw.Of(kComponentFailures);
    plan.delayMs = static_cast<DWORD>(plan.fault == Fault::ServiceHangs ? draw.Between(30, 300) : draw.Between(0, 300));
    ArrangeFault(plan, draw);
    return plan;
}

bool RunPlan::IsRename() const {
    return std::all_of(items.begin(), items.end(), [](const PlannedItem& item) { return !item.newName.empty(); });
}

// A device name passes the name rules, but the device exists in every folder,
// so planning finds the target taken.
bool RunPlan::RenamesToDevice() const {
    return std::any_of(items.begin(), items.end(), [](const PlannedItem& item) {
        return item.newName == L"CON" || item.newName.compare(0, 4, L"CON.") == 0;
    });
}

HRESULT RunPlan::Expected(bool localProblems) const {
    // What refuses the operation before its local moves are planned.
    switch (fault) {
    case Fault::ResolveFails:
    case Fault::AddInFailsBefore: return faultCode;
    case Fault::AddInVetoes: return E_QOR_OPERATION_REFUSED_BY_PLUGIN;
    case Fault::InvalidName: return S_FALSE;
    default: break;
    }
    if (RenamesToDevice()) return S_FALSE;
    switch (fault) {
    case Fault::DatabaseFails:
    case Fault::AddInFailsAfter: return faultCode;
    case Fault::TargetExists:
    case Fault::DatabaseRefuses: return S_FALSE;
    case Fault::ManagerMissing: return E_QOR_MISSING_ORAVANE_MODULE;
    case Fault::FileHeld:
    case Fault::MessageBoxMissing: return E_QOR_FILE_SHARE_ERROR;
    default: return !silent && localProblems && IsRename() ? E_QOR_FILE_SHARE_ERROR : S_OK;
    }
}

std::wstring FolderPath(const RunPlan& plan, int folder) {
    std::wstring path = L"\\";
    for (; folder > 0; folder = plan.folders[folder].parent) path = L"\\" + plan.folders[folder].name + path;
    return path;
}

std::string FileToken(const RunPlan& plan, int file) {
    return "campaign-" + std::to_string(plan.seed) + "-" + std::to_string(file);
}

std::string FileBody(const RunPlan& plan, int file) {
    const std::string token = FileToken(plan, file);
    return "id " + token + "\r\npad " + std::string(plan.files[file].padding, 'p') + "\r\nend " + token + "\r\n";
}
