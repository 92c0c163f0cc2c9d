#include "referencehost/Commands.h"

#include "referencehost/Catalog.h"
#include "referencehost/CrashPoints.h"
#include "referencehost/DatabaseHost.h"
#include "referencehost/Installation.h"
#include "referencehost/MoveIntent.h"
#include "referencehost/Output.h"
#include "referencehost/Recovery.h"
#include "referencehost/UsageError.h"
#include "referencehost/VaultBuilder.h"
#include "referencehost/VaultCheck.h"
#include "referencehost/VaultSchema.h"

#include <windows.h>

#include <cstdio>

namespace {

std::wstring LocalRoot(const Arguments& args) { return args.vault + L"\\Engineering"; }

// A request whose lists own what they hold.
struct OwnedRequest : MoveRequest {
    ~OwnedRequest() {
        items.DeleteAll();
        refFiles.DeleteAll();
        dbErrors.DeleteAll();
        errors.DeleteAll();
        refErrors.DeleteAll();
    }
};

int Init(const Arguments& args) {
    const std::wstring path = args.vault + L"\\" + kDatabaseName;
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        throw UsageError("a vault already exists in " + MessageText(args.vault));
    }
    CreateDirectoryW(args.vault.c_str(), nullptr);
    Database db(path, Database::Mode::Create);
    if (args.sample) {
        BuildSampleVault(db, LocalRoot(args));
    } else if (args.files > 0) {
        BuildGeneratedVault(db, LocalRoot(args), args.files);
    } else {
        BuildEmptyVault(db, LocalRoot(args));
    }
    Print(L"vault made in " + args.vault + L"\n");
    return kDone;
}

int List(const Arguments& args) {
    Database db = OpenVaultDatabase(args.vault, Access::Read);
    const Catalog catalog = Catalog::Load(db);
    const auto folders = catalog.FolderPaths();
    const auto pathOf = [&](int32_t fileId) {
        const CatalogFile& file = catalog.files.at(fileId);
        return NormalVaultPath(folders.at(file.folderId) + file.name);
    };
    if (!args.json) {
        for (const auto& [id, path] : folders) Print(L"folder " + std::to_wstring(id) + L" \\" + NormalVaultPath(path) + L"\n");
        for (const auto& [id, file] : catalog.files) {
            Print(L"file " + std::to_wstring(id) + L" " + pathOf(id) + L"\n");
            for (int32_t referenced : file.references) Print(L"  references " + pathOf(referenced) + L"\n");
        }
        return kDone;
    }
    std::wstring out = L"{\"folders\": [";
    for (const auto& [id, path] : folders) {
        out += (out.back() == L'[' ? L"" : L", ") + (L"{\"id\": " + std::to_wstring(id) + L", \"path\": " + Json(NormalVaultPath(path)) + L"}");
    }
    out += L"], \"files\": [";
    for (const auto& [id, file] : catalog.files) {
        std::wstring refs;
        for (int32_t referenced : file.references) refs += (refs.empty() ? L"" : L", ") + Json(pathOf(referenced));
        out += (out.back() == L'[' ? L"" : L", ") +
               (L"{\"id\": " + std::to_wstring(id) + L", \"path\": " + Json(pathOf(id)) + L", \"refs\": [" + refs + L"]}");
    }
    Print(out + L"]}\n");
    return kDone;
}

// Tells what recovery did; true when nothing is left unfinished.
bool RecoverAndTell(Database& db, FileFormatMgr* manager) {
    const RecoveryReport report = Recover(db, manager);
    if (report.finished) {
        fprintf(stderr, "vaulthost: finished %d interrupted move%s\n", report.finished, report.finished == 1 ? "" : "s");
    }
    for (const std::wstring& problem : report.problems) {
        fprintf(stderr, "vaulthost: not recovered: %s\n", MessageText(problem).c_str());
    }
    return report.problems.empty();
}

int Recover(const Arguments& args) {
    Database db = OpenVaultDatabase(args.vault, Access::Write);
    const Installation installation(false);
    if (PendingIntents(db).empty()) {
        Print(L"nothing to recover\n");
        return kDone;
    }
    return RecoverAndTell(db, installation.FileFormats()) ? kDone : kRefused;
}

int Check(const Arguments& args) {
    Database db = OpenVaultDatabase(args.vault, Access::Read);
    const std::vector<std::wstring> problems = CheckVault(db, Catalog::Load(db), LocalRoot(args));
    for (const std::wstring& problem : problems) Print(problem + L"\n");
    if (problems.empty()) Print(L"the database, the local view and the stored references agree\n");
    return problems.empty() ? kDone : kRefused;
}

MoveItem* ItemFor(const Catalog& catalog, const std::wstring& vaultPath, int32_t destination,
                  const std::wstring& newName) {
    if (const auto file = catalog.FindFile(vaultPath)) {
        const int32_t folder = catalog.files.at(*file).folderId;
        return new MoveItem{*file, folder, destination ? destination : folder, newName};
    }
    const auto folder = catalog.FindFolder(vaultPath);
    if (!folder || *folder == kRootFolderId) throw UsageError("no item " + MessageText(vaultPath) + " in the vault");
    return new MoveItem{0, *folder, destination ? destination : catalog.folders.at(*folder).parentId, newName};
}

// One ghMove call: the database changes and the local view follows; the
// intent goes once nothing was left undone on disk.
int Operate(const Arguments& args, bool rename) {
    if (rename ? args.operands.size() != 2 : args.operands.size() < 2) {
        throw UsageError(rename ? "usage: rename ITEM NEWNAME" : "usage: mv ITEM... DESTFOLDER");
    }
    Database db = OpenVaultDatabase(args.vault, Access::Write);
    const Installation installation(!args.silent);
    if (!RecoverAndTell(db, installation.FileFormats())) {
        throw UsageError("an interrupted move could not be finished; see above");
    }
    DatabaseHost host(db, LocalRoot(args));
    if (args.progress) host.OnProgress([](const std::wstring& step) { fprintf(stderr, "%s\n", MessageText(step).c_str()); });
    OwnedRequest request;
    request.localRoot = LocalRoot(args);
    request.vault = installation.VaultObject();
    const Catalog& catalog = host.Vault();
    if (rename) {
        request.items.Append(ItemFor(catalog, args.operands[0], 0, args.operands[1]));
    } else {
        const auto destination = catalog.FindFolder(args.operands.back());
        if (!destination) throw UsageError("no folder " + MessageText(args.operands.back()) + " in the vault");
        for (size_t i = 0; i + 1 < args.operands.size(); ++i) {
            request.items.Append(ItemFor(catalog, args.operands[i], *destination, L""));
        }
    }
    ArmCrashPoints(installation.Module(), [&host] { return host.ListedDocuments(); });
    LARGE_INTEGER start, end, frequency;
    QueryPerformanceCounter(&start);
    const HRESULT hr = installation.GhMove()(nullptr, &host, &request, args.silent);
    QueryPerformanceCounter(&end);
    QueryPerformanceFrequency(&frequency);
    const bool diskFollowed = request.errors.Empty() && request.refErrors.Empty();
    if (host.PendingIntent() && diskFollowed) {
        Transaction transaction(db);
        DeleteIntent(db, host.PendingIntent());
        transaction.Commit();
    }
    PrintOutcome(request, hr, host.DatabaseFailure(), args.json);
    if (args.progress) {
        const double seconds = static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
        fprintf(stderr, "ghMove took %.3f s, of which the host's callbacks %.3f s\n", seconds, host.CallbackSeconds());
    }
    return hr == S_OK && diskFollowed && request.dbErrors.Empty() ? kDone : kRefused;
}

}  // namespace

int RunCommand(const Arguments& args) {
    if (args.command == L"init") return Init(args);
    if (args.command == L"ls") return List(args);
    if (args.command == L"mv") return Operate(args, false);
    if (args.command == L"rename") return Operate(args, true);
    if (args.command == L"check") return Check(args);
    if (args.command == L"recover") return Recover(args);
    throw UsageError("unknown command " + MessageText(args.command));
}
