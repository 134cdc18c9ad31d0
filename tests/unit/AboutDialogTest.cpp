// The About dialog's life and the routine that places it.
#include <gtest/gtest.h>

#include <string>

#include "app/AboutDialog.h"
#include "resource.h"
#include "support/ApiCounter.h"
#include "support/TestSupport.h"
#include "windows/SpriteTypes.h"

namespace {
RECT WindowArea(HWND window) {
    RECT area = {};
    GetWindowRect(window, &area);
    return area;
}

HWND CreatePlainWindow(int x, int y, int width, int height) {
    TestWindowOptions options;
    options.title = "Aligned";
    options.style = WS_POPUP | WS_VISIBLE;
    options.x = x;
    options.y = y;
    options.width = width;
    options.height = height;
    return CreateTestWindow(options);
}

class AlignWindowTest : public testing::Test {
protected:
    void TearDown() override {
        for (HWND window : {moved, reference}) {
            if (window) {
                DestroyWindow(window);
            }
        }
        PumpMessages();
    }

    void ExpectAt(int left, int top, int width, int height) {
        const RECT area = WindowArea(moved);
        EXPECT_EQ(area.left, left);
        EXPECT_EQ(area.top, top);
        EXPECT_EQ(area.right - area.left, width);
        EXPECT_EQ(area.bottom - area.top, height);
    }

    HWND moved = nullptr;
    HWND reference = nullptr;
};

TEST_F(AlignWindowTest, EdgeFlagsOnTheDesktop) {
    moved = CreatePlainWindow(17, 23, 301, 200);
    struct Case {
        UINT flags;
        int left;
        int top;
    };
    const Case cases[] = {
        {0, 361, 284},
        {48, 361, 284},
        {ALIGN_TOP, 361, 0},
        {ALIGN_BOTTOM, 361, 568},
        {ALIGN_LEFT, 0, 284},
        {ALIGN_RIGHT, 723, 284},
        {ALIGN_LEFT | ALIGN_RIGHT, 0, 284},
        {ALIGN_TOP | ALIGN_BOTTOM, 361, 0},
        {ALIGN_BOTTOM | ALIGN_RIGHT, 723, 568},
        {ALIGN_TOP | ALIGN_BOTTOM | ALIGN_LEFT | ALIGN_RIGHT | 0xF0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "flags " << c.flags);
        AlignWindow(moved, GetDesktopWindow(), c.flags);
        ExpectAt(c.left, c.top, 301, 200);
    }
}

TEST_F(AlignWindowTest, CentresOnAReferenceAwayFromTheOrigin) {
    reference = CreatePlainWindow(100, 50, 400, 300);
    moved = CreatePlainWindow(0, 0, 101, 51);
    AlignWindow(moved, reference, 0);
    // (400 - 101) / 2 = 149 and (300 - 51) / 2 = 124, from the reference's corner.
    ExpectAt(249, 174, 101, 51);
    AlignWindow(moved, reference, ALIGN_RIGHT | ALIGN_BOTTOM);
    ExpectAt(399, 299, 101, 51);
}

TEST_F(AlignWindowTest, AWindowLargerThanItsReferenceRoundsTowardZero) {
    reference = CreatePlainWindow(0, 0, 100, 100);
    moved = CreatePlainWindow(300, 300, 203, 105);
    AlignWindow(moved, reference, 0);
    // (100 - 203) / 2 = -51.5 and (100 - 105) / 2 = -2.5 become -51 and -2.
    ExpectAt(-51, -2, 203, 105);
}

class AboutDialogTest : public testing::Test {
protected:
    void SetUp() override { ResetCallCounts(); }
    void TearDown() override {
        if (aboutDialog) {
            DestroyWindow(aboutDialog);
        }
        PumpMessages();
    }
};

TEST_F(AboutDialogTest, OpensCentredWithTheProgramNameAndTheSponsorsHost) {
    ShowAboutDialog();
    PumpMessages();
    ASSERT_NE(aboutDialog, nullptr);
    EXPECT_TRUE(IsWindowVisible(aboutDialog));
    char title[32] = {};
    GetWindowTextA(aboutDialog, title, sizeof(title));
    EXPECT_STREQ(title, "About");
    EXPECT_EQ(GetWindow(aboutDialog, GW_OWNER), nullptr);

    const RECT area = WindowArea(aboutDialog);
    EXPECT_EQ(area.left, (1024 - (area.right - area.left)) / 2);
    EXPECT_EQ(area.top, (768 - (area.bottom - area.top)) / 2);

    std::string texts;
    for (HWND child = GetWindow(aboutDialog, GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        char text[64] = {};
        GetWindowTextA(child, text, sizeof(text));
        texts += std::string(text) + "|";
    }
    EXPECT_NE(texts.find("Tarvolen Screen Sign 1.1"), std::string::npos) << texts;
    // The host shown is the one a click on a sign opens.
    const std::string page = SPONSOR_PAGE;
    const size_t hostStart = page.find("://") + 3;
    const std::string host = page.substr(hostStart, page.find('/', hostStart) - hostStart);
    EXPECT_NE(texts.find("|" + host + "|"), std::string::npos) << texts;
}

TEST_F(AboutDialogTest, OkAndTheCloseButtonDestroyTheDialogAndTheNextAboutMakesANewOne) {
    struct Closing {
        const char* how;
        void (*close)(HWND dialog);
    };
    const Closing closings[] = {
        {"OK button", [](HWND dialog) { SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); }},
        {"caption close", [](HWND dialog) { SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const Closing& closing : closings) {
        SCOPED_TRACE(closing.how);
        ResetCallCounts();
        ShowAboutDialog();
        PumpMessages();
        const HWND dialog = aboutDialog;
        ASSERT_NE(dialog, nullptr);

        closing.close(dialog);
        PumpMessages();
        EXPECT_EQ(aboutDialog, nullptr);
        // Really gone, not merely hidden for the rest of the process's life.
        EXPECT_FALSE(IsWindow(dialog));

        ShowAboutDialog();
        EXPECT_EQ(CallCount("CreateDialogParamA"), 2);
        EXPECT_NE(aboutDialog, nullptr);
        DestroyWindow(aboutDialog);
        EXPECT_EQ(aboutDialog, nullptr);
    }
}
}  // namespace
