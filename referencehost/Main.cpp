// vaulthost: the reference vault client over an SQLite vault database.
//   vaulthost COMMAND --vault DIR [options]
//   init [--sample | --files N]      a new vault in DIR (database and local view)
//   ls [--json]                      folders and files, with each file's references
//   mv ITEM... DESTFOLDER [--silent] [--json] [--progress]
//   rename ITEM NEWNAME [--silent] [--json] [--progress]
//   check                            database, disk and stored references agree
//   recover                          finishes a move that a crash interrupted
// Items and folders are vault paths below the root with "\" between names.
// Exit codes: 0 done, 1 the vault or the disk refused or disagreed, 2 misuse.
#include "referencehost/Commands.h"
#include "referencehost/Database.h"
#include "referencehost/UsageError.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kMisuse = 2;

Arguments Parse(int argc, wchar_t** argv) {
    if (argc < 2) throw UsageError("usage: vaulthost init|ls|mv|rename|check|recover --vault DIR ...");
    Arguments args;
    args.command = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::wstring arg = argv[i];
        const auto value = [&]() -> std::wstring {
            if (i + 1 >= argc) throw UsageError("a value must follow " + MessageText(arg));
            return argv[++i];
        };
        if (arg == L"--vault") {
            args.vault = value();
        } else if (arg == L"--json") {
            args.json = true;
        } else if (arg == L"--silent") {
            args.silent = true;
        } else if (arg == L"--progress") {
            args.progress = true;
        } else if (arg == L"--sample") {
            args.sample = true;
        } else if (arg == L"--files") {
            const std::wstring count = value();
            args.files = _wtoi(count.c_str());
            if (args.files <= 0 || args.files > 1000000) throw UsageError("--files takes a count from 1 to 1000000");
        } else if (arg.compare(0, 2, L"--") == 0) {
            throw UsageError("unknown option " + MessageText(arg));
        } else {
            args.operands.push_back(arg);
        }
    }
    if (args.vault.empty()) throw UsageError("--vault DIR is required");
    while (args.vault.size() > 3 && (args.vault.back() == L'\\' || args.vault.back() == L'/')) args.vault.pop_back();
    return args;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // Line ends as written: the output is UTF-8 text for other programs too.
    _setmode(_fileno(stdout), _O_BINARY);
    try {
        return RunCommand(Parse(argc, argv));
    } catch (const UsageError& error) {
        fprintf(stderr, "vaulthost: %s\n", error.what());
    } catch (const DatabaseError& error) {
        fprintf(stderr, "vaulthost: the vault database failed: %s\n", error.what());
    } catch (const std::bad_alloc&) {
        fprintf(stderr, "vaulthost: out of memory\n");
    }
    return kMisuse;
}
