#include "FaultyHost.h"

HRESULT FaultyHost::ListReferenceUpdates(MoveRequest* request) {
    if (plan_.fault == Fault::ListingFails) return plan_.faultCode;
    return vault_.ListReferenceUpdates(request);
}

HRESULT FaultyHost::MoveInDatabase(MoveRequest* request) {
    ChangeLocalView();
    if (plan_.fault == Fault::DatabaseFails) return plan_.faultCode;
    return vault_.MoveInDatabase(request);
}

HRESULT FaultyHost::ResolveNames(FolderPathMap& folderPaths, FileNameMap& fileNames) {
    if (plan_.fault == Fault::ResolveFails) return plan_.faultCode;
    return vault_.ResolveNames(folderPaths, fileNames);
}

HRESULT FaultyHost::FindFilesByName(int32_t hostContext, const std::vector<std::wstring>* names,
                                    std::vector<std::shared_ptr<FoundFileRecord>>* found, const wchar_t* localRoot) {
    return vault_.FindFilesByName(hostContext, names, found, localRoot);
}

void FaultyHost::ChangeLocalView() const {
    if (plan_.faultFolder < 0) return;
    const std::wstring folder = vault_.LocalRoot() + FolderPath(plan_, plan_.faultFolder);
    if (plan_.fault == Fault::FolderVanishes) RemoveDirectoryW(folder.c_str());
    if (plan_.fault == Fault::FolderAppears) CreateDirectoryW((folder + L"Appeared").c_str(), nullptr);
}
