// The sample vault as a run's host: one call fails, or the local view changes between planning and execution, as
// the run's fault says.
#pragma once

#include "RunPlan.h"
#include "tests/campaign/SampleVault.h"

class FaultyHost : public SampleVault {
public:
    FaultyHost(std::wstring localRoot, const RunPlan& plan) : SampleVault(std::move(localRoot)), plan_(plan) {}

    HRESULT ListReferenceUpdates(MoveRequest* request) override;
    HRESULT MoveInDatabase(MoveRequest* request) override;
    HRESULT ResolveNames(FolderPathMap& folderPaths, FileNameMap& fileNames) override;

private:
    // What happens to the local view after the module planned its moves.
    void ChangeLocalView() const;

    const RunPlan& plan_;
};
