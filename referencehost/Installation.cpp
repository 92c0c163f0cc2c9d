#include "referencehost/Installation.h"

#include "common/ProcAddress.h"
#include "installation/vault/VaultClass.h"
#include "referencehost/UsageError.h"

#include <string>

namespace {

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring full = path;
    return full.substr(0, full.rfind(L'\\') + 1);
}

}  // namespace

Installation::Installation(bool withLogin) {
    const std::wstring folder = ProgramFolder();
    module_.Reset(LoadLibraryW((folder + L"GhMove.dll").c_str()));
    ghMove_ = module_ ? ProcAddress<GhMoveFunction>(module_.Get(), "ghMove") : nullptr;
    if (!ghMove_) throw UsageError("GhMove.dll could not be loaded from the program's folder");
    // The module loads the same library beside itself; the host keeps it for recovery.
    formats_.Reset(LoadLibraryW((folder + kFileFormatLibraryName).c_str()));
    const auto getManager = formats_ ? ProcAddress<GetFileFormatMgrFunction>(formats_.Get(), kFileFormatExportName)
                                     : nullptr;
    fileFormats_ = getManager ? getManager() : nullptr;
    if (FAILED(CoCreateInstance(CLSID_StandinVault, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                vaultObject_.PutVoid()))) {
        throw UsageError("the installation's vault object is not registered (run the setup)");
    }
    if (withLogin) login_ = std::make_unique<ClientLogin>();
}
