#include <gtest/gtest.h>

#include "support/World.h"
#include "text/DosDateTime.h"
#include "text/ExtensionList.h"

using namespace headless;
using Items = std::vector<std::string>;

TEST(ExtensionList, CommasAndBlanksSeparateQuotesGroup) {
    using text::splitExtensionList;
    EXPECT_EQ((Items{"log", "aux"}), splitExtensionList("log,aux"));
    EXPECT_EQ((Items{"log", "aux"}), splitExtensionList("log aux"));
    EXPECT_EQ((Items{"log", "aux"}), splitExtensionList("  log , aux  "));
    EXPECT_EQ((Items{"log", "", "aux"}), splitExtensionList("log,,aux"));
    EXPECT_EQ((Items{"log", ""}), splitExtensionList("log,"));
    EXPECT_EQ((Items{"log"}), splitExtensionList("log, "));
    EXPECT_EQ(Items{}, splitExtensionList(""));
    EXPECT_EQ(Items{}, splitExtensionList(" \t "));
    EXPECT_EQ((Items{".log"}), splitExtensionList(".log"));
    EXPECT_EQ((Items{"synctex.gz"}), splitExtensionList("\"synctex.gz\""));
    EXPECT_EQ((Items{"a b,c", "d\"e", ""}), splitExtensionList("\"a b,c\",\"d\"\"e\",\"\""));
    EXPECT_EQ((Items{"unclosed, rest"}), splitExtensionList("\"unclosed, rest"));
    EXPECT_EQ((Items{"表", "ソ"}), splitExtensionList("表,ソ")) << "second bytes are never separators";
    EXPECT_EQ((Items{"\x81\x2C"}), splitExtensionList("\x81\x2C")) << "a lead byte takes the comma after it";
    EXPECT_EQ((Items{"log", ""}), splitExtensionList(std::string("log,\0aux", 8))) << "a zero byte ends the text";
}

namespace {
const std::string document = "C:\\doc\\paper.tex";
const std::string dvi = "C:\\doc\\paper.dvi";
const int32_t at10 = text::packDosDateTime({2026, 12, 7, 10, 0, 0});
const int32_t at10plus1 = text::packDosDateTime({2026, 12, 7, 10, 0, 1});
const int32_t at10plus2 = text::packDosDateTime({2026, 12, 7, 10, 0, 2});

struct WatchWorld : World {
    WatchWorld(const std::string& entries = "AutoCompile=1\r\n") {
        settings(entries);
        startWithArguments(document);
        timer().setEnabled(true);
    }
    size_t compiles() const { return system.processes.started.size(); }
};
} // namespace

TEST(Watcher, CompilesExactlyWhenTheDocumentIsNewerOrTheDviMissing) {
    struct Case {
        const char* what;
        int32_t documentAge, dviAge;
        size_t compiles;
    };
    for (const Case& c : {Case{"missing document", -1, at10, 0}, Case{"missing both", -1, -1, 0},
                          Case{"missing DVI", at10, -1, 1}, Case{"saved two seconds later", at10plus2, at10, 1},
                          Case{"same two-second step", at10plus1, at10, 0}, Case{"DVI newer", at10, at10plus2, 0},
                          Case{"document from 2044", text::packDosDateTime({2044, 1, 1, 0, 0, 0}), at10, 1},
                          Case{"DVI from 2044", at10, text::packDosDateTime({2044, 1, 1, 0, 0, 0}), 0}}) {
        WatchWorld world;
        if (c.documentAge != -1) world.system.files.put(document, "x", c.documentAge);
        if (c.dviAge != -1) world.system.files.put(dvi, "x", c.dviAge);
        world.timer().elapse();
        EXPECT_EQ(c.compiles, world.compiles()) << c.what;
        EXPECT_TRUE(world.ui.messages.empty()) << c.what;
    }
}

TEST(Watcher, AutoCompileTurnedOffInTheFileStopsCompilesButNotTheTimer) {
    WatchWorld world;
    world.system.files.put(document, "x", at10plus2);
    world.settings("AutoCompile=0\r\n");
    world.timer().elapse();
    EXPECT_EQ(0u, world.compiles());
    EXPECT_TRUE(world.timer().enabled());

    world.settings("AutoCompile=1\r\n");
    world.timer().elapse();
    EXPECT_EQ(1u, world.compiles());
    EXPECT_TRUE(world.timer().enabled()) << "re-armed from the file at the end of the compile";
}

// pTeX stops at "\\documentclass{nosuchclass}" and writes no DVI: the watcher
// compiles that version once, and again only once the document is saved again.
TEST(Watcher, EachSavedVersionIsCompiledOnceWhateverTheCompileLeft) {
    for (const bool olderDviLeft : {false, true}) {
        WatchWorld world("AutoCompile=1\r\nErrorJump=1\r\n");
        world.system.files.put(document, "x", at10plus2);
        if (olderDviLeft) world.system.files.put(dvi, "x", at10);
        world.system.processes.run.outputReads = {"! LaTeX Error: File `nosuchclass.cls' not found.\r\nl.1 x\r\n"};
        for (int tick = 0; tick < 3; ++tick)
            world.timer().elapse();
        EXPECT_EQ(1u, world.compiles());
        EXPECT_EQ(1u, world.system.processes.untracked.started.size()) << "one editor for one saved version";

        world.main().button("btnCompile").click();
        EXPECT_EQ(2u, world.compiles()) << "a compile the user asks for is never held back";

        world.system.files.put(document, "y", text::packDosDateTime({2026, 12, 7, 10, 0, 10}));
        world.timer().elapse();
        world.timer().elapse();
        EXPECT_EQ(3u, world.compiles()) << "saved again";
    }
}

namespace {
struct CleanupWorld : World {
    explicit CleanupWorld(const std::string& entries, bool adoptDocument = true,
                          const std::string& documentName = document) {
        settings(entries);
        for (const char* name :
             {"paper.tex", "paper.dvi", "paper.log", "paper.aux", "paper.synctex.gz", "paper", "paper.表", "keep.aux"})
            system.files.put(std::string("C:\\doc\\") + name, "x");
        system.files.put("C:\\other.log", "x");
        if (adoptDocument)
            startWithArguments(documentName);
        else
            create();
    }
    bool has(const std::string& name) { return system.files.exists("C:\\doc\\" + name); }
    void cleanup(ModalResult answer = ModalResult::Yes) {
        ui.messageAnswers.push_back(answer);
        main().button("btnDelLog").click();
    }
};
} // namespace

TEST(Cleanup, YesDeletesTheListedFilesAndKeepsTheRest) {
    CleanupWorld spelt("", true, "C:\\doc\\x\\..\\Paper");
    spelt.cleanup();
    EXPECT_FALSE(spelt.has("paper.log")) << "the document however it was named";

    CleanupWorld world("");
    world.cleanup();
    ASSERT_EQ(1u, world.ui.messages.size());
    EXPECT_EQ("中間ファイルを削除します。よろしいですか？", world.ui.messages[0].text);
    EXPECT_EQ(MessageType::Confirmation, world.ui.messages[0].type);
    EXPECT_EQ(unsigned(mbYes | mbNo | mbCancel), world.ui.messages[0].buttons);
    EXPECT_FALSE(world.has("paper.log"));
    EXPECT_FALSE(world.has("paper.aux"));
    EXPECT_TRUE(world.has("paper.tex"));
    EXPECT_TRUE(world.has("paper.dvi"));
}

TEST(Cleanup, AnyOtherAnswerTouchesNothingAndReadsNoSetting) {
    for (ModalResult answer : {ModalResult::No, ModalResult::Cancel}) {
        CleanupWorld world("FileExt=log\r\n");
        const int flushes = world.system.profile.flushCount;
        world.cleanup(answer);
        EXPECT_TRUE(world.has("paper.log"));
        EXPECT_EQ(flushes, world.system.profile.flushCount);
    }
}

// Windows reads "paper.tex.", "paper.tex " and "paper.TEX.." as the document,
// "paper.." as its name without extension and "paper.tex::$DATA" as the
// document's own data; each item below reaches one of them, or another file
// through a folder of its own.
TEST(Cleanup, NeverTheDocumentAnotherFolderOrANameWithoutExtension) {
    CleanupWorld world("FileExt=TeX,tex.,\"tex \",TEX..,.,..,,\"\",tex::$DATA,x\\..\\keep.aux,x/../keep.aux,"
                       "..\\other.log,C:x,*,log?,\"synctex.gz\",dvi,表\r\n");
    world.cleanup();
    EXPECT_TRUE(world.has("paper.tex"));
    EXPECT_TRUE(world.has("paper"));
    EXPECT_TRUE(world.has("keep.aux"));
    EXPECT_TRUE(world.system.files.exists("C:\\other.log"));
    EXPECT_TRUE(world.has("paper.log"));
    EXPECT_FALSE(world.has("paper.synctex.gz"));
    EXPECT_FALSE(world.has("paper.dvi"));
    EXPECT_FALSE(world.has("paper.表")) << "a double-byte extension whose second byte is a backslash";
}

TEST(Cleanup, ReadOnlyAndMissingFilesAreLeftSilently) {
    CleanupWorld world("FileExt=bbl,log,aux\r\n");
    world.system.files.readOnlyFolders.insert("C:\\doc");
    world.cleanup();
    EXPECT_TRUE(world.has("paper.log"));
    EXPECT_EQ(1u, world.ui.messages.size());

    CleanupWorld none("", false);
    none.cleanup();
    EXPECT_TRUE(none.has("paper.log"));
}

namespace {
const std::string chapter = "C:\\doc\\chap.tex";
const std::string chapterAux = "C:\\doc\\chap.aux";
const std::string installedClass = "C:\\w32tex\\share\\texmf-dist\\tex\\latex\\base\\article.cls";
int32_t at10and(int seconds) { return text::packDosDateTime({2026, 12, 7, 10, seconds / 60, seconds % 60}); }

// A document of the class article that reads \include{chap}; each compile
// rewrites chap.aux at the given age and writes the DVI only when it succeeds.
struct IncludeWorld : WatchWorld {
    int32_t now = at10and(10);
    bool writesDvi = true;
    IncludeWorld() {
        system.files.put(document, "x", at10);
        system.files.put(chapter, "x", at10);
        system.files.put(installedClass, "x", at10);
        system.processes.run.outputReads = {
            "(./paper.tex (c:/w32tex/share/texmf-dist/tex/latex/base/article.cls) (./chap.tex) (./paper.aux "
            "(./chap.aux)) )\r\n"};
        system.processes.run.whileRunning = [this] {
            system.files.put(chapterAux, "aux", now);
            if (writesDvi) system.files.put(dvi, "dvi", now);
        };
    }
    size_t ticks(int count) {
        for (int tick = 0; tick < count; ++tick) {
            now += 4;
            timer().elapse();
        }
        return compiles();
    }
};
} // namespace

TEST(Watcher, ASavedChapterCompilesOnceAndFilesTheCompileWritesNever) {
    for (const bool writesDvi : {true, false}) {
        SCOPED_TRACE(writesDvi ? "the compile writes its DVI" : "the compile fails without a DVI");
        IncludeWorld world;
        world.writesDvi = writesDvi;
        EXPECT_EQ(1u, world.ticks(4)) << "no DVI: the document is compiled once";

        world.system.files.put(chapter, "y", world.now);
        EXPECT_EQ(2u, world.ticks(4)) << "the saved chapter, once; never its .aux";
        world.system.files.put(installedClass, "y", world.now);
        EXPECT_EQ(2u, world.ticks(4)) << "an updated class of the installation is no file of the document";

        world.main().button("btnCompile").click();
        EXPECT_EQ(3u, world.ticks(4)) << "what a compile the user asked for left is done too";
    }
}

TEST(Watcher, ADeletedDviOrConfirmedOptionsLetTheSameVersionCompileAgain) {
    IncludeWorld world;
    EXPECT_EQ(1u, world.ticks(3));
    world.system.files.remove(dvi);
    EXPECT_EQ(2u, world.ticks(3)) << "the DVI that was deleted is built again";

    // A compiler that cannot be run leaves no version done, and the timer off.
    world.writesDvi = false;
    world.system.files.remove(dvi);
    world.settings("AutoCompile=1\r\nTeX=C:\\none.exe\r\n");
    world.system.processes.failures["\"C:\\none.exe\" paper.tex"] = 2;
    EXPECT_EQ(3u, world.ticks(3));
    EXPECT_FALSE(world.timer().enabled());
    world.system.processes.failures.clear();
    world.ui.onModal["Form2"] = [](HeadlessForm&) { return ModalResult::OK; };
    world.main().item("Option").click();
    EXPECT_EQ(4u, world.ticks(3)) << "the corrected settings are tried once";
    world.main().item("Option").click();
    EXPECT_EQ(5u, world.ticks(3)) << "confirmed options are a change even without a save";
}
