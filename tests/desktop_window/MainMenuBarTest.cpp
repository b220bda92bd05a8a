#include "desktop_window/MainMenuBar.h"
#include "platform/QuitMenuItem.h"
#include "platform/RuntimeException.h"

#include <gtest/gtest.h>

TEST(MainMenuBar, OneSharedBarWithTheFileMenu)
{
    auto bar = MainMenuBar::Instance();
    ASSERT_TRUE(bar);
    EXPECT_EQ(MainMenuBar::Instance(), bar);
    ASSERT_EQ(bar->Count(), 1u);
    auto file = bar->Item(0);
    EXPECT_EQ(file->Name(), "FileMenu");
    EXPECT_EQ(file->Text(), "&File");
    EXPECT_EQ(file->Shortcut(), "");
    EXPECT_EQ(bar->Child("FileMenu"), file);

    struct Expected {
        const char* name;
        const char* text;
        const char* shortcut;
    };
    const Expected items[] = {
        { "FileQuit", "&Quit", "Cmd+Q" },
        { "ShowPreferences", "Preferences\xE2\x80\xA6", "Cmd+," }, // one U+2026, not three full stops
        { "CloseWindow", "Close", "Cmd+W" },
    };
    ASSERT_EQ(file->Count(), std::size(items)); // built once, however often asked for
    for (std::size_t i = 0; i < std::size(items); ++i) {
        auto item = file->Item(i);
        EXPECT_EQ(item->Name(), items[i].name);
        EXPECT_EQ(item->Text(), items[i].text);
        EXPECT_EQ(item->Shortcut(), items[i].shortcut);
        EXPECT_TRUE(item->AutoEnabled());
        EXPECT_TRUE(item->Visible());
    }
    EXPECT_EQ(file->Item(1)->Text().size(), 14u); // "Preferences" + 3 bytes of U+2026
    EXPECT_TRUE(std::dynamic_pointer_cast<platform::QuitMenuItem>(file->Item(0)));
    EXPECT_FALSE(std::dynamic_pointer_cast<platform::QuitMenuItem>(file->Item(1)));
}

TEST(MainMenuBar, ItemsAreFoundByNameInABar)
{
    std::shared_ptr<platform::MenuBar> bar = MainMenuBar::Instance();
    auto file = bar->Child("FileMenu");
    EXPECT_EQ(MainMenuBar::ItemNamed(bar, "FileMenu"), file);
    EXPECT_EQ(MainMenuBar::ItemNamed(bar, "CloseWindow"), file->Child("CloseWindow"));
    EXPECT_EQ(MainMenuBar::ItemNamed(bar, "ShowPreferences"), file->Child("ShowPreferences"));
    EXPECT_EQ(MainMenuBar::QuitItem(bar), file->Child("FileQuit"));
    EXPECT_EQ(MainMenuBar::ItemNamed(bar, "NoSuchItem"), nullptr);
    EXPECT_THROW(MainMenuBar::ItemNamed(nullptr, "FileMenu"), platform::NilObjectException);
}
