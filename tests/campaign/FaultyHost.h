// The sample vault as the host of a campaign run: it answers as the vault
// does, except where the run's fault makes one of its calls fail, and it
// changes the local view behind the module's back between planning and
// execution when the fault says so.
#pragma once

#include "RunPlan.h"
#include "tests/campaign/SampleVault.h"

class FaultyHost : public MoveHost {
public:
    FaultyHost(SampleVault& vault, const RunPlan& plan) : vault_(vault), plan_(plan) {}

    HRESULT ListReferenceUpdates(MoveRequest* request) override;
    HRESULT MoveInDatabase(MoveRequest* request) override;
    HRESULT ResolveNames(FolderPathMap& folderPaths, FileNameMap& fileNames) override;
    HRESULT FindFilesByName(int32_t hostContext, const std::vector<std::wstring>* names,
                            std::vector<std::shared_ptr<FoundFileRecord>>* found, const wchar_t* localRoot) override;

private:
    // What happens to the local view after the module planned its moves.
    void ChangeLocalView() const;

    SampleVault& vault_;
    const RunPlan& plan_;
};
