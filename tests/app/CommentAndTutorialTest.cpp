#include "app/core/publish/CommentForm.h"
#include "app/core/settings/Tutorial.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace cb::app;

TEST(CommentForm, MissingFieldsAndTheBody) {
    struct Case {
        const char *name, *email, *comments, *message;
    } cases[] = {
        {"Ann", "ann@example.org", "Fine", ""},
        {"Ann", "ann@nodot", "",
         "Please enter the following fields before continuing:\r\r\r  - Your Email Address\r  - Comments"},
        {" ", "", "x", "Please enter the following fields before continuing:\r\r  - Your Name\r  - Your Email Address"},
    };
    for (const auto& c : cases) EXPECT_EQ(CheckCommentFields(c.name, c.email, c.comments), c.message) << c.name;
    // "&" and "=" in a comment arrive as typed instead of making extra fields
    EXPECT_EQ(CommentFormBody("Ann Lee", "a@b.example", "x=1&y=2 \xC3\xA9"),
              "sName=Ann+Lee&sEmail=a%40b.example&sComments=x%3D1%26y%3D2+%C3%A9");
    EXPECT_EQ(CommentEndpoint(""), "");
    EXPECT_EQ(CommentEndpoint("example.org/"), "http://example.org/cb/send_comments.php");
    EXPECT_EQ(CommentEndpoint("https://example.org"), "https://example.org/cb/send_comments.php");
}

TEST(Tutorial, StepsFromTheFile) {
    auto dir = std::filesystem::temp_directory_path() / ("cb-tutorial-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    auto file = (dir / "tutorial_steps.ini").string();
    {
        std::ofstream(file) << "[Setup]\nTutorialSteps=3\n[Step1]\nTitle=Welcome\nDisplayText=<b>Hi</b>\n"
                               "HelpFileLocation=introduction.htm\nXLocation=10\nYLocation=20\n[Step2]\nTitle=Two\n";
    }
    TTutorialStepList steps;
    ASSERT_TRUE(steps.LoadFromFile(file));
    ASSERT_EQ(steps.Count(), 3);  // a listed step without its section reads as defaults
    EXPECT_EQ(steps.GetStep(0).Title, "Welcome");
    EXPECT_EQ(steps.GetStep(0).DisplayText, "<b>Hi</b>");
    EXPECT_EQ(steps.GetStep(0).XLocation, 10);
    EXPECT_EQ(steps.GetStep(1).XLocation, -1);
    EXPECT_EQ(steps.GetStep(1).HelpFileLocation, "");
    EXPECT_EQ(steps.GetStep(2).Title, "");
    // an empty or missing list has no steps, and asking for one never crashes
    TTutorialStepList none;
    EXPECT_TRUE(none.LoadFromFile((dir / "missing.ini").string()));
    EXPECT_EQ(none.Count(), 0);
    EXPECT_EQ(none.GetStep(0).Title, "");
    // a huge count is bounded
    { std::ofstream(file) << "[Setup]\nTutorialSteps=2000000000\n"; }
    TTutorialStepList many;
    ASSERT_TRUE(many.LoadFromFile(file));
    EXPECT_EQ(many.Count(), kMaxTutorialSteps);
    std::filesystem::remove_all(dir);
}
