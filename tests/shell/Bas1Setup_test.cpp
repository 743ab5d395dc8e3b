#include "shell/Bas1Setup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/Settings.h"
#include "support/ProgramFolder.h"
#include "support/TestFolder.h"

namespace fs = std::filesystem;

namespace {

void touch(const std::string& path) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path) << "MZ";
}

struct Notes {
    std::vector<std::pair<std::string, bool>> lines;
    SearchFeedback feedback() {
        return {[this](const std::string& t, bool bold) { lines.emplace_back(t, bold); }, nullptr};
    }
};

struct Walked {
    int files = 0;
    int folders = 0;
    std::vector<std::string> results;
};

Walked find(const std::string& root, const std::string& name, bool stop = false, Notes* notes = nullptr) {
    Walked f;
    std::string folder = root;
    Notes none;
    FindFiles(folder, name, f.files, f.folders, f.results, stop, 0, (notes ? notes : &none)->feedback());
    return f;
}

class Bas1SetupTest : public ::testing::Test {
protected:
    void SetUp() override { ResetSetupPaths(); }
    void TearDown() override { ResetSetupPaths(); }
    TestFolder tree;
};

}  // namespace

TEST_F(Bas1SetupTest, FilesOfAFolderComeBeforeItsSubFoldersWhichGoInNameOrder) {
    const std::string r = tree.path();
    touch(r + "b/VitrarchQX.EXE");
    touch(r + "A/deep/vitrarchqx.exe");
    touch(r + "top/x/VITRARCHQX.EXE");
    touch(r + "top/VitrarchQX.exe");
    touch(r + "other/VitrarchQX.EXE.bak");
    fs::create_directories(r + "dir/VitrarchQX.EXE");  // a folder of that name is no executable
    const Walked f = find(r, "VitrarchQX.EXE");
    EXPECT_EQ(f.results, (std::vector<std::string>{r + "A/deep/", r + "b/", r + "top/", r + "top/x/"}));
    EXPECT_EQ(f.files, 4);
    const Walked first = find(r, "VitrarchQX.EXE", true);
    EXPECT_EQ(first.results, std::vector<std::string>{r + "A/deep/"});
}

TEST_F(Bas1SetupTest, LinksAreNotFollowedSoALoopEndsAndLinkedCopiesAreNotFound) {
    const std::string r = tree.path();
    touch(r + "real/Lumivar3D.EXE");
    fs::create_directories(r + "loop/inner");
    fs::create_directory_symlink(r + "loop", r + "loop/inner/again");
    fs::create_directory_symlink(r + "real", r + "alias");
    fs::create_directory_symlink("/", r + "root");
    const Walked f = find(r, "Lumivar3D.EXE");
    EXPECT_EQ(f.results, std::vector<std::string>{r + "real/"});
}

TEST_F(Bas1SetupTest, AWinePrefixIsSearchedThroughItsDriveCOnly) {
    const std::string prefix = tree.path() + "wine/";
    touch(prefix + "drive_c/Program Files/Harvenne/LumivarDazirireraVI.exe");
    fs::create_directories(prefix + "dosdevices");
    fs::create_directory_symlink("../drive_c", prefix + "dosdevices/c:");
    fs::create_directory_symlink("/", prefix + "dosdevices/z:");
    const Walked f = find(prefix, "LumivarDazirireraVI.EXE");
    EXPECT_EQ(f.results, std::vector<std::string>{prefix + "drive_c/Program Files/Harvenne/"});

    // The drive roots: $WINEPREFIX and ~/.wine, each once and only when it has a drive_c.
    touch(tree.path() + "home/.wine/drive_c/x");
    EXPECT_EQ(WineDriveRoots(prefix.c_str(), (tree.path() + "home").c_str()),
              (std::vector<std::string>{prefix + "drive_c/", tree.path() + "home/.wine/drive_c/"}));
    EXPECT_EQ(WineDriveRoots((tree.path() + "home/.wine").c_str(), (tree.path() + "home").c_str()).size(), 1u);
    EXPECT_TRUE(WineDriveRoots((tree.path() + "nowine").c_str(), nullptr).empty());
    EXPECT_EQ(FileSystemRoot("/"), "/");
    const std::string fsRoot = FileSystemRoot(tree.path());
    EXPECT_EQ(tree.path().rfind(fsRoot, 0), 0u) << fsRoot;  // a folder above the tree, or the tree's own mount
    EXPECT_TRUE(IsSkippedSystemFolder("/proc/"));
    EXPECT_TRUE(IsSkippedSystemFolder("/run"));
    EXPECT_FALSE(IsSkippedSystemFolder("/home/run/"));
}

TEST_F(Bas1SetupTest, TheHelpLineShowsTheFirstThreeLevelsOnly) {
    const std::string r = tree.path();
    fs::create_directories(r + "a/b/c/d");
    Notes notes;
    const Walked f = find(r, "VitrarchQX.EXE", false, &notes);
    EXPECT_TRUE(f.results.empty());
    EXPECT_EQ(f.folders, 4);
    const std::string p = kLookingInPrefix;
    EXPECT_EQ(notes.lines, (std::vector<std::pair<std::string, bool>>{
                               {p + r, false}, {p + r + "a/", false}, {p + r + "a/b/", false}}));
}

TEST_F(Bas1SetupTest, SetPathNeedsTheExecutableAndKeepsOneTrailingSeparator) {
    const std::string dir = tree.path() + "Vitrarch";
    touch(dir + "/vitrarchqx.exe");
    EXPECT_TRUE(SetPathVQ(dir + "//"));
    EXPECT_EQ(GetPathVQ(), dir + "/");
    EXPECT_TRUE(FoundVQ());
    EXPECT_FALSE(SetPathVQ(tree.path() + "elsewhere"));
    EXPECT_FALSE(FoundVQ());
    EXPECT_EQ(GetPathVQ(), dir + "/");  // the folder it had stays
    EXPECT_FALSE(SetPathLQP(""));
    EXPECT_TRUE(FileInFolder(dir, "VitrarchQX.EXE"));
    EXPECT_FALSE(FileInFolder("", "VitrarchQX.EXE"));
}

TEST_F(Bas1SetupTest, RegistryFirstRunStoredFoldersAndWhatIsWrittenBack) {
    MemorySettings reg;
    LoadSetupPaths(reg);
    EXPECT_TRUE(FirstLoad());  // missing value: first run

    const std::string vq = tree.path() + "vq/", lqp = tree.path() + "lqp/";
    touch(vq + "VitrarchQX.EXE");
    reg.set(kSetupSection, "VitrarchQX", vq);
    reg.set(kSetupSection, "LumivarPlusQX", lqp);  // its executable has been removed
    reg.set(kSetupSection, kFirstLoadValue, "-1");
    LoadSetupPaths(reg);
    EXPECT_FALSE(FoundVQ());  // first run: no folder is read

    reg.set(kSetupSection, kFirstLoadValue, "0");
    LoadSetupPaths(reg);
    EXPECT_FALSE(FirstLoad());
    EXPECT_TRUE(FoundVQ());
    EXPECT_FALSE(FoundLQP());
    EXPECT_EQ(GetPathLQP(), "");

    MemorySettings out;
    SaveSetupPaths(out);
    EXPECT_EQ(out.get(kSetupSection, "VitrarchQX"), vq);
    EXPECT_EQ(out.get(kSetupSection, "LumivarPlusQX"), std::nullopt);
    EXPECT_EQ(out.size(), 1u);

    SetFirstLoad(true);
    ClearFirstLoad(out);
    EXPECT_FALSE(FirstLoad());
    EXPECT_EQ(out.get(kSetupSection, kFirstLoadValue), "0");
}

TEST_F(Bas1SetupTest, TheParentFolderIsSearchedBeforeTheDriveRoots) {
    const std::string r = tree.path();
    ProgramFolderOverride home(r + "progs/Kalvenor/");
    touch(r + "progs/Vitrarch/VitrarchQX.EXE");
    touch(r + "drive/Vitrarch/VitrarchQX.EXE");
    touch(r + "drive/Lumivar/lumivar3d.exe");
    Notes notes;
    SearchInstallations({r + "none/", r + "drive/"}, notes.feedback());
    EXPECT_EQ(GetPathVQ(), r + "progs/Vitrarch/");
    EXPECT_EQ(GetPathLQP(), r + "drive/Lumivar/");
    EXPECT_FALSE(FoundLQTol());
    EXPECT_FALSE(SearchRunning());
    std::vector<std::string> bold;
    for (const auto& [t, b] : notes.lines)
        if (b) bold.push_back(t);
    EXPECT_EQ(bold, (std::vector<std::string>{"Searching for Vitrarch installation", "Searching for Lumivar3D installation",
                                              "Searching for LumivarTolerancer installation"}));
}

TEST_F(Bas1SetupTest, ScanSearchesOnlyForMissingProgramsAndChangesNoFlag) {
    const std::string r = tree.path();
    ProgramFolderOverride home(r + "progs/Kalvenor/");
    touch(r + "progs/Vitrarch/VitrarchQX.EXE");
    touch(r + "drive/Tol/LumivarDazirireraVI.EXE");
    touch(r + "old/VitrarchQX.EXE");
    ASSERT_TRUE(SetPathVQ(r + "old"));
    std::string vq = "unchanged", lqp = "stale", tol;
    Notes notes;
    SearchMissingInstallations({r + "drive/"}, vq, lqp, tol, notes.feedback());
    EXPECT_EQ(vq, "unchanged");
    EXPECT_EQ(lqp, "");
    EXPECT_EQ(tol, r + "drive/Tol/");
    EXPECT_FALSE(FoundLQTol());
    EXPECT_EQ(GetPathVQ(), r + "old/");
    EXPECT_EQ(notes.lines.front(), (std::pair<std::string, bool>{"Searching for Lumivar3D installation", true}));
}

TEST_F(Bas1SetupTest, FolderTexts) {
    EXPECT_EQ(ParentFolder("/opt/tools/Kalvenor/"), "/opt/tools/");
    EXPECT_EQ(ParentFolder("/Kalvenor/"), "/");
    EXPECT_EQ(ParentFolder("/"), "");
    EXPECT_EQ(StripNulls(std::string("abc\0def", 7)), "abc");
    EXPECT_EQ(StripNulls("abc"), "abc");
}
