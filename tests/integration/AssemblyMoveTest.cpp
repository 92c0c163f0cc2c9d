// The whole road of a folder move: an assembly's folder moves to another vault
// folder, and afterwards every document that referenced something inside it,
// moved or not, stores the new places.
#include "LoadedModule.h"
#include "RecordingHost.h"
#include "TestFolder.h"
#include "installation/standin/Journal.h"

#include <gtest/gtest.h>

namespace {

using Paths = std::vector<std::wstring>;
constexpr int32_t kProjects = 2, kGearbox = 3, kArchive = 4;

class AssemblyMoveTest : public ::testing::Test {
protected:
    AssemblyMoveTest() {
        CoInitialize(nullptr);
        host.folderPaths = {{kProjects, L"\\Projects\\"}, {kGearbox, L"\\Projects\\Gearbox\\"}, {kArchive, L"\\Archive\\"}};
    }
    ~AssemblyMoveTest() override { CoUninitialize(); }

    // A text document of the CAD-like format that references `paths`.
    std::string Document(const char* title, const Paths& paths) const {
        std::string content = std::string("FWTEXT 1\r\ntitle ") + title + "\r\n";
        for (const std::wstring& path : paths) content += "REF " + standin::ToUtf8(folder.Path(path)) + "\r\n";
        return content;
    }
    // What the host lists: a document, where it goes, and the references that change in it.
    void ListDocument(const std::wstring& oldRelative, const std::wstring& newRelative, const Paths& movedReferences) {
        auto* file = new RefFile;
        file->oldPath = folder.Path(oldRelative);
        file->newPath = newRelative.empty() ? L"" : folder.Path(newRelative);
        for (const std::wstring& reference : movedReferences) {
            file->refs.Append(new MoveRef{folder.Path(L"Projects\\" + reference), folder.Path(L"Archive\\" + reference)});
        }
        listed.push_back(file);
    }

    TestFolder folder;
    LoadedModule module;
    RecordingHost host;
    OwnedRequest request{folder.LocalRoot()};
    std::vector<RefFile*> listed;
};

TEST_F(AssemblyMoveTest, EveryReferencingDocumentPointsAtTheNewPlaces) {
    folder.WriteFile(L"Projects\\Gearbox\\gearbox.asm",
                     Document("gearbox", {L"Projects\\Gearbox\\shaft.prt", L"Projects\\Gearbox\\Parts\\bolt.prt",
                                          L"Library\\washer.prt"}));
    folder.WriteFile(L"Projects\\Gearbox\\shaft.prt", Document("shaft", {}));
    folder.WriteFile(L"Projects\\Gearbox\\Parts\\bolt.prt", Document("bolt", {}));
    folder.WriteFile(L"Library\\washer.prt", Document("washer", {}));
    folder.WriteFile(L"Drawings\\gearbox.drw",
                     Document("drawing", {L"Projects\\Gearbox\\gearbox.asm", L"Projects\\Gearbox\\shaft.prt"}));
    folder.MakeFolder(L"Archive");

    // The assembly moves with its folder; the drawing stays and follows it.
    ListDocument(L"Projects\\Gearbox\\gearbox.asm", L"Archive\\Gearbox\\gearbox.asm",
                 {L"Gearbox\\shaft.prt", L"Gearbox\\Parts\\bolt.prt"});
    ListDocument(L"Drawings\\gearbox.drw", L"", {L"Gearbox\\gearbox.asm", L"Gearbox\\shaft.prt"});
    host.onListReferenceUpdates = [this](MoveRequest* r) {
        for (RefFile* file : listed) r->refFiles.Append(file);
    };
    request.AddFolder(kGearbox, kArchive);

    ASSERT_EQ(module.Move(nullptr, &host, request.get(), true), S_OK);

    EXPECT_EQ(request->errors.count, 0);
    EXPECT_EQ(request->refErrors.count, 0);
    EXPECT_EQ(folder.Tree(), (Paths{L"Archive\\", L"Archive\\Gearbox\\", L"Archive\\Gearbox\\Parts\\",
                                    L"Archive\\Gearbox\\Parts\\bolt.prt", L"Archive\\Gearbox\\gearbox.asm",
                                    L"Archive\\Gearbox\\shaft.prt", L"Drawings\\", L"Drawings\\gearbox.drw",
                                    L"Library\\", L"Library\\washer.prt", L"Projects\\"}));
    EXPECT_EQ(folder.ReadFile(L"Archive\\Gearbox\\gearbox.asm"),
              Document("gearbox", {L"Archive\\Gearbox\\shaft.prt", L"Archive\\Gearbox\\Parts\\bolt.prt",
                                   L"Library\\washer.prt"}));
    EXPECT_EQ(folder.ReadFile(L"Drawings\\gearbox.drw"),
              Document("drawing", {L"Archive\\Gearbox\\gearbox.asm", L"Archive\\Gearbox\\shaft.prt"}));
    EXPECT_EQ(folder.ReadFile(L"Archive\\Gearbox\\shaft.prt"), Document("shaft", {}));
    EXPECT_EQ(folder.ReadFile(L"Library\\washer.prt"), Document("washer", {}));
}

}  // namespace
