#include <gtest/gtest.h>

#include "support/World.h"

using namespace headless;

namespace {
struct AboutWorld : World {
    AboutWorld() {
        settings("");
        startWithArguments("paper");
    }
    HeadlessLinkLabel& link() { return dynamic_cast<HeadlessLinkLabel&>(about().control("URLLabel1")); }
    TURLLabel& label() { return aboutBox->URLLabel1(); }
};
} // namespace

TEST(AboutBox, LayoutAndVersionCommand) {
    AboutWorld world;
    HeadlessForm& box = world.about();
    EXPECT_EQ("バージョン情報", box.caption());
    EXPECT_EQ(FormPosition::ScreenCenter, box.layout().position);
    EXPECT_TRUE(box.layout().sizeIsClient);
    EXPECT_EQ((Bounds{0, 0, 279, 213}), box.layout().bounds);
    EXPECT_EQ("Velumo", box.control("ProductName").layout().caption);
    EXPECT_EQ("Version 0.4.1", box.control("Version").layout().caption);
    EXPECT_EQ(0u, world.link().caption().rfind("mailto:", 0));
    EXPECT_EQ("エディタ、TeXコンパイル、DVIプレビューを連携する、統合環境風ソフトウェア。",
              box.control("Comments").layout().caption);
    const ControlSpec& ok = box.control("OKButton").layout();
    EXPECT_EQ((Bounds{109, 175, 64, 33}), ok.bounds);
    EXPECT_TRUE(ok.isDefault);
    EXPECT_EQ("OKButton", box.controlOrder().front()) << "OK has the focus when the box opens";
    for (const std::string& name : box.controlOrder())
        EXPECT_NE(ControlKind::CancelButton, box.control(name).layout().kind) << "Esc does nothing";

    world.ui.onModal["AboutBox"] = [](HeadlessForm& form) {
        form.button("OKButton").click();
        return ModalResult::None;
    };
    world.main().item("Version1").click();
    EXPECT_EQ(1, box.showModalCount);
}

TEST(URLLabel, ConstructionRegistersTheHandAndSetsTheDefaults) {
    AboutWorld world;
    EXPECT_EQ(crHandPoint, world.link().cursor);
    EXPECT_EQ("HANDPOINT", world.ui.cursors[crHandPoint]);
    EXPECT_EQ(clCyan, world.label().HotColor());
    EXPECT_EQ(clRed, world.label().PushedColor());
    EXPECT_TRUE(world.label().HotTrack());
    EXPECT_TRUE(world.label().Executable) << "the about box's link opens its mail address";

    TAboutBox second(*world.app);
    second.window();
    EXPECT_EQ(2, world.ui.cursorRegistrations) << "every construction registers the cursor again";
}

TEST(URLLabel, ColourFollowsTheMouseAndAnyButtonOpensTheCaptionAtOnce) {
    AboutWorld world;
    HeadlessLinkLabel& link = world.link();
    link.setTextColor(0x00112233);
    link.mouseTo(5, 5);
    EXPECT_EQ(clCyan, link.textColor());
    link.press(MouseButton::Right);
    EXPECT_EQ(clRed, link.textColor());
    EXPECT_EQ((std::vector<std::string>{"OPEN|" + link.caption() + "|||normal"}), world.system.shell.executed)
        << "before the button is released";
    link.release(MouseButton::Right);
    EXPECT_EQ(clCyan, link.textColor()) << "released over the link";

    link.press();
    link.mouseTo(142, 5); // dragged off: the right edge is outside
    link.release();
    EXPECT_EQ(0x00112233u, link.textColor()) << "released outside";
    link.mouseTo(1, 11);
    link.mouseAway();
    EXPECT_EQ(0x00112233u, link.textColor());
    EXPECT_EQ(2u, world.system.shell.executed.size());
}

TEST(URLLabel, WithoutHotTrackOrExecutable) {
    AboutWorld world;
    HeadlessLinkLabel& link = world.link();
    world.label().setHotTrack(false);
    link.mouseTo(3, 3);
    link.press();
    link.release();
    EXPECT_EQ(clBlack, link.textColor());
    EXPECT_EQ(1u, world.system.shell.executed.size());

    world.label().setHotTrack(true);
    world.label().Executable = false;
    link.mouseAway();
    link.mouseTo(3, 3);
    link.press();
    EXPECT_EQ(clRed, link.textColor());
    EXPECT_EQ(1u, world.system.shell.executed.size());
}

TEST(URLLabel, SettersRepaintOnlyOnAChange) {
    AboutWorld world;
    HeadlessLinkLabel& link = world.link();
    const int before = link.repaints;
    world.label().setHotColor(clCyan);
    world.label().setPushedColor(clRed);
    world.label().setHotTrack(true);
    EXPECT_EQ(before, link.repaints);
    world.label().setHotColor(clRed);
    world.label().setPushedColor(clCyan);
    world.label().setHotTrack(false);
    EXPECT_EQ(before + 3, link.repaints);
    EXPECT_EQ(clRed, world.label().HotColor());
}
