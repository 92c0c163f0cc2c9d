#include "FaultyHost.h"

HRESULT FaultyHost::ListReferenceUpdates(MoveRequest* request) {
    if (plan_.fault == Fault::ListingFails) return plan_.faultCode;
    return SampleVault::ListReferenceUpdates(request);
}

HRESULT FaultyHost::MoveInDatabase(MoveRequest* request) {
    ChangeLocalView();
    if (plan_.fault == Fault::DatabaseFails) return plan_.faultCode;
    return SampleVault::MoveInDatabase(request);
}

HRESULT FaultyHost::ResolveNames(FolderPathMap& folderPaths, FileNameMap& fileNames) {
    if (plan_.fault == Fault::ResolveFails) return plan_.faultCode;
    return SampleVault::ResolveNames(folderPaths, fileNames);
}

void FaultyHost::ChangeLocalView() const {
    if (plan_.faultFolder < 0) return;
    const std::wstring folder = LocalRoot() + FolderPath(plan_, plan_.faultFolder);
    if (plan_.fault == Fault::FolderVanishes) RemoveDirectoryW(folder.c_str());
    if (plan_.fault == Fault::FolderAppears) CreateDirectoryW((folder + L"Appeared").c_str(), nullptr);
}
