// The non-unique files view: what the host is asked, what the dialog receives, what shows when it cannot.
#include "move/Mover.h"

#include "common/Handles.h"
#include "installation/standin/StandinWindows.h"
#include "report/ErrorText.h"
#include "ComThread.h"
#include "LoadedModule.h"
#include "MessageBoxWatcher.h"
#include "RecordingHost.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::vector<std::wstring>>;
using Paths = std::vector<std::wstring>;
constexpr const wchar_t* kDialog = L"NonUniqueFilesDialog";

// A found file whose texts live as long as the record: releasing the last shared pointer frees both, as a host's
// records do.
struct OwnedFoundFile : FoundFileRecord {
    OwnedFoundFile(int32_t a, int32_t b, int32_t c, std::vector<std::wstring> texts, bool flagged)
        : FoundFileRecord{a, b, c, nullptr, nullptr, nullptr, nullptr, flagged}, owned(std::move(texts)) {
        const wchar_t** fields[] = {&text1, &text2, &text3, &text4};
        for (size_t i = 0; i < 4 && i < owned.size(); ++i) *fields[i] = owned[i].c_str();
    }
    std::vector<std::wstring> owned;
};

// The dialog's class unregistered for the life of the object.
class UnregisteredDialog {
public:
    UnregisteredDialog() : library_(LoadLibraryW(LoadedModule::BesideProgram(L"NonUniqueFilesDialog.dll").c_str())) {
        Call("DllUnregisterServer");
    }
    ~UnregisteredDialog() { Call("DllRegisterServer"); }

private:
    void Call(const char* name) const {
        const auto function = reinterpret_cast<HRESULT(__stdcall*)()>(
            reinterpret_cast<void (*)()>(GetProcAddress(library_.Get(), name)));
        ASSERT_NE(function, nullptr);
        ASSERT_EQ(function(), S_OK);
    }
    UniqueLibrary library_;
};

class NonUniqueFilesViewTest : public ::testing::Test {
protected:
    HRESULT Show(const Paths* names, const Paths* others) { return mover.ShowNonUniqueFiles(names, others); }

    TestFolder folder;
    ComThread com;
    RecordingHost host;
    OwnedRequest request{L"C:\\Vaults\\Design"};
    Mover mover{nullptr, &host, request.get(), false};
    const Paths names = {L"C:\\Vaults\\Design\\Parts\\bolt.prt"};
    const Paths others = {L"C:\\Vaults\\Design\\Parts\\Bolt.prt"};
};

TEST_F(NonUniqueFilesViewTest, ANullListIsRefusedBeforeTheHostIsAsked) {
    EXPECT_EQ(Show(nullptr, &others), E_INVALIDARG);
    EXPECT_EQ(Show(&names, nullptr), E_INVALIDARG);
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(NonUniqueFilesViewTest, TheDialogListsThePathsAndTheFoundFilesInTheHostsOrder) {
    request->hostContext = 31;
    host.foundFiles = {std::make_shared<OwnedFoundFile>(1, 2, 3, Paths{L"bolt.prt", L"\\Parts\\", L"A", L"x"}, true),
                       std::make_shared<OwnedFoundFile>(4, 5, 6, Paths{L"bolt.prt"}, false)};
    std::vector<std::weak_ptr<FoundFileRecord>> handedOut(host.foundFiles.begin(), host.foundFiles.end());
    MessageBoxWatcher dialogs(IDOK, kNonUniqueDialogClass);

    EXPECT_EQ(Show(&names, &others), S_OK);
    ASSERT_EQ(host.finds.size(), 1u);
    EXPECT_EQ(host.finds[0].hostContext, 31);
    EXPECT_EQ(host.finds[0].names, names);
    EXPECT_EQ(host.finds[0].localRoot, L"C:\\Vaults\\Design");
    EXPECT_EQ(folder.Journal(kDialog),
              (Lines{{L"Names", names[0]},
                     {L"OtherNames", others[0]},
                     {L"Records", L"2"},
                     {L"Record", L"1", L"2", L"3", L"bolt.prt", L"\\Parts\\", L"A", L"x", L"-1"},
                     {L"Record", L"4", L"5", L"6", L"bolt.prt", L"(null)", L"(null)", L"(null)", L"0"},
                     {L"Show", L"0", L"4", L"0", L"Design"},
                     {L"Closed", L"0x00000000"}}));
    for (const auto& record : handedOut) EXPECT_TRUE(record.expired());
}

TEST_F(NonUniqueFilesViewTest, AHostThatFindsNothingStillOpensTheDialogAndItsResultIsReturned) {
    folder.Configure(kDialog, {L"show-result=0x80040111"});
    request->localRoot = L"C:\\Vaults\\";  // the caption after the last backslash is empty
    const Paths none;
    MessageBoxWatcher dialogs(IDOK, kNonUniqueDialogClass);
    EXPECT_EQ(Show(&names, &none), static_cast<HRESULT>(0x80040111));
    EXPECT_EQ(folder.Journal(kDialog), (Lines{{L"Names", names[0]},
                                              {L"OtherNames", L"(null)"},
                                              {L"Records", L"0"},
                                              {L"Show", L"0", L"4", L"0", L""},
                                              {L"Closed", L"0x80040111"}}));
}

TEST_F(NonUniqueFilesViewTest, AFailingHostShowsNothingAndItsRecordsAreReleased) {
    host.findResult = E_FAIL;
    host.foundFiles = {std::make_shared<OwnedFoundFile>(1, 2, 3, Paths{}, false)};
    const std::weak_ptr<FoundFileRecord> handedOut = host.foundFiles[0];
    MessageBoxWatcher boxes, dialogs(IDOK, kNonUniqueDialogClass);
    EXPECT_EQ(Show(&names, &others), S_OK);
    EXPECT_TRUE(handedOut.expired());
    EXPECT_TRUE(folder.Journal(kDialog).empty());
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(NonUniqueFilesViewTest, AMissingDialogIsExplainedInAnOwnerlessErrorBox) {
    host.foundFiles = {std::make_shared<OwnedFoundFile>(1, 2, 3, Paths{L"bolt.prt"}, false)};
    const std::weak_ptr<FoundFileRecord> handedOut = host.foundFiles[0];
    const UnregisteredDialog unregistered;
    MessageBoxWatcher boxes;
    EXPECT_EQ(Show(&names, &others), S_OK);
    const auto seen = boxes.Boxes();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(std::tie(seen[0].caption, seen[0].text, seen[0].owner, seen[0].errorIcon),
              std::make_tuple(std::wstring(L"Can't show Non Unique Files dialog box"),
                              ErrorText(REGDB_E_CLASSNOTREG).Text(), HWND(nullptr), true));
    EXPECT_TRUE(handedOut.expired());
}

}  // namespace
