#include "app/navigator.h"
#include "app/screens.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

TEST(Navigator, StartsOnTheTitleAlone)
{
    Navigator nav(std::filesystem::temp_directory_path());
    defineScreens(nav);
    nav.start("Form1");
    ASSERT_NE(nav.visibleScreen(), nullptr);
    EXPECT_EQ(nav.visibleScreen()->name(), "Form1");
    EXPECT_EQ(nav.created(), std::vector<std::string>{"Form1"});
}

} // namespace
} // namespace quillory
