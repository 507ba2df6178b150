#include <gtest/gtest.h>

#include "platform/Colours.h"
#include "support/World.h"

using namespace headless;
using namespace platform;

namespace {
std::vector<std::string> childrenOf(HeadlessForm& form, const std::string& parent) {
    std::vector<std::string> names;
    for (const std::string& name : form.controlOrder())
        if (form.control(name).layout().parent == parent) names.push_back(name);
    return names;
}

std::vector<std::string> tabStops(HeadlessForm& form, const std::string& parent) {
    std::vector<std::string> names;
    for (const std::string& name : childrenOf(form, parent)) {
        const ControlKind kind = form.control(name).layout().kind;
        if (kind != ControlKind::Label && kind != ControlKind::BrowseButton) names.push_back(name);
    }
    return names;
}
} // namespace

TEST(MainWindowLayout, ButtonsCaptionsGeometryAndTabOrder) {
    World world;
    world.create();
    HeadlessForm& form = world.main();
    EXPECT_EQ("Velumo", form.caption());
    EXPECT_EQ((Bounds{0, 0, 267, 269}), form.layout().bounds);
    EXPECT_FALSE(form.layout().sizeIsClient);
    EXPECT_EQ((std::vector<std::string>{"ListBox1", "Panel1"}), childrenOf(form, ""));
    EXPECT_EQ((std::vector<std::string>{"btnCompile", "btnDelLog", "btnEditTeX", "btnOpenDvi", "btnOpenTeX"}),
              childrenOf(form, "Panel1"));
    struct Expected {
        const char* name;
        const char* caption;
        Bounds bounds;
        const char* hint;
    };
    for (const Expected& b :
         {Expected{"btnOpenTeX", "Open TeXfile", {16, 8, 97, 25}, "使用するTeXファイルを開く"},
          Expected{"btnCompile", "Compile TeXfile", {136, 8, 97, 25}, "コンパイルしてDVIファイルを作成"},
          Expected{"btnEditTeX", "Edit TeXfile", {32, 48, 65, 65}, "TeXファイルを編集"},
          Expected{"btnOpenDvi", "Preview DVIfile", {136, 48, 97, 25}, "DVIファイルを表示"},
          Expected{"btnDelLog", "Delete Logfile", {136, 88, 97, 25}, "ログファイルを削除"}}) {
        const ControlSpec& layout = form.control(b.name).layout();
        EXPECT_EQ(b.caption, layout.caption) << b.name;
        EXPECT_EQ(b.bounds, layout.bounds) << b.name;
        EXPECT_EQ(b.hint, layout.hint) << b.name;
        EXPECT_FALSE(layout.showHint) << b.name;
    }
    const ControlSpec& list = form.control("ListBox1").layout();
    EXPECT_EQ(Align::Client, list.align);
    EXPECT_EQ(12, list.itemHeight);
    EXPECT_EQ("ログ表示", list.hint);
    EXPECT_EQ(Align::Top, form.control("Panel1").layout().align);
    EXPECT_EQ(137, form.control("Panel1").layout().bounds.height);
}

TEST(MainWindowLayout, MenuItemsWithAccessKeysAndShortcuts) {
    World world;
    world.create();
    std::vector<std::string> lines;
    for (const MenuItemSpec& item : world.main().menu())
        lines.push_back(item.parent + ">" + item.caption + (item.shortcut.empty() ? "" : " " + item.shortcut));
    EXPECT_EQ((std::vector<std::string>{">&File", "File1>&Open Ctrl+O", "File1>&Exit", ">&TeX", "TeX>&Edit",
                                        "TeX>&Compile", "TeX>&Preview", "TeX>&Delete Log", "TeX>-", ">&Option",
                                        ">&Help F1", "Help>&Version"}),
              lines);
}

TEST(OptionsLayout, PagesTabOrderAndHintsShownOnlyOnTheFourEdits) {
    World world;
    world.create();
    HeadlessForm& form = world.options();
    EXPECT_EQ("オプション設定", form.caption());
    EXPECT_TRUE(form.layout().sizeIsClient);
    EXPECT_EQ(332, form.layout().bounds.width);
    EXPECT_EQ(229, form.layout().bounds.height);
    EXPECT_EQ(FormBorder::Dialog, form.layout().border);
    EXPECT_EQ(FormPosition::MainFormCenter, form.layout().position);
    EXPECT_EQ((std::vector<std::string>{"BitBtn1", "BitBtn2", "PageControl1"}), childrenOf(form, ""));
    std::vector<std::string> pages;
    for (const std::string& page : childrenOf(form, "PageControl1"))
        pages.push_back(form.control(page).layout().caption);
    EXPECT_EQ((std::vector<std::string>{"Editor", "TeXCompiler", "DVIware", "DeleteLog"}), pages);
    EXPECT_EQ((std::vector<std::string>{"edtJumpOption", "chkErrorJump", "Edit1", "chkFocusTeX"}),
              tabStops(form, "TabSheet1"));
    EXPECT_EQ((std::vector<std::string>{"chkAutoCompile", "edtCheckInterval", "chkAutoDVI", "Edit3"}),
              tabStops(form, "TabSheet2"));
    EXPECT_EQ((std::vector<std::string>{"chkUseDDE", "Edit4"}), tabStops(form, "TabSheet3"));
    EXPECT_EQ((std::vector<std::string>{"Edit2"}), tabStops(form, "TabSheet4"));

    std::vector<std::string> shown;
    for (const std::string& name : form.controlOrder())
        if (form.control(name).layout().showHint) shown.push_back(name);
    EXPECT_EQ((std::vector<std::string>{"edtJumpOption", "Edit1", "Edit3", "Edit4"}), shown);
    EXPECT_EQ("ファイルが更新されると、自動的にコンパイルする。", form.control("chkAutoCompile").layout().hint);
    EXPECT_EQ("エラーがなければDVIwareを起動する。", form.control("chkAutoDVI").layout().hint);

    const ControlSpec& ok = form.control("BitBtn1").layout();
    EXPECT_EQ((Bounds{147, 198, 75, 25}), ok.bounds);
    EXPECT_TRUE(ok.isDefault);
    EXPECT_EQ(ControlKind::CancelButton, form.control("BitBtn2").layout().kind);
    EXPECT_EQ((Bounds{232, 198, 82, 25}), form.control("BitBtn2").layout().bounds);
}

TEST(OptionsBrowse, EachButtonFillsItsOwnEditAndCancelKeepsIt) {
    World world;
    world.settings("");
    world.startWithArguments("p");
    HeadlessForm& form = world.options();
    world.ui.openDialogAnswers = {std::string("C:\\Tools\\My Editor\\ed.exe"), std::nullopt,
                                  std::string("Z:\\usr\\bin\\dviout.exe")};
    form.button("SpeedButton1").click();
    form.button("SpeedButton3").click();
    form.button("SpeedButton4").click();
    EXPECT_EQ((std::vector<std::string>{"notepad.exe", "platex.exe", "dviout.exe"}), world.ui.openDialogStarts);
    EXPECT_EQ("C:\\Tools\\My Editor\\ed.exe", world.form2->controls().Edit1.text());
    EXPECT_EQ("platex.exe", world.form2->controls().Edit3.text());
    EXPECT_EQ("Z:\\usr\\bin\\dviout.exe", world.form2->controls().Edit4.text());
}

// The log's colours read well on the list's usual white (4.5:1 at least),
// and the measure itself: black on white is 21:1, a colour on itself 1:1.
TEST(MainWindowLayout, TheLogsMessageColoursKeepTheirContrastOnWhite) {
    const uint32_t white = rgb(255, 255, 255);
    EXPECT_DOUBLE_EQ(21.0, contrastRatio(clBlack, white));
    EXPECT_DOUBLE_EQ(1.0, contrastRatio(clErrorText, clErrorText));
    for (const uint32_t colour : {clErrorText, clWarningText, clQuietText})
        EXPECT_GE(contrastRatio(colour, white), minimumContrast) << std::hex << colour;
}
