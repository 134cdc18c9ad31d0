// The About dialog's life and the routine that places it.
#include <gtest/gtest.h>

#include <string>

#include "app/AboutDialog.h"
#include "app/MainWindow.h"
#include "support/ApiCounter.h"
#include "support/TestSupport.h"
#include "windows/SpriteTypes.h"

namespace {
HWND PlainWindow(int x, int y, int width, int height) {
    TestWindowOptions options;
    options.style = WS_POPUP | WS_VISIBLE;
    options.x = x;
    options.y = y;
    options.width = width;
    options.height = height;
    return CreateTestWindow(options);
}

// A window of 301 x 200 on the 1024 x 768 desktop, then on references away from the origin
// and smaller than the window, where centring rounds toward zero: (100 - 203) / 2 is -51.
TEST(AlignWindowTest, PutsTheWindowOnTheFlaggedEdgesAndCentresTheOtherAxes) {
    struct Case {
        RECT reference;  // empty: the desktop
        int width, height;
        UINT flags;
        int left, top;
    };
    const Case cases[] = {
        {{}, 301, 200, 0, 361, 284},
        {{}, 301, 200, 48, 361, 284},
        {{}, 301, 200, ALIGN_TOP, 361, 0},
        {{}, 301, 200, ALIGN_BOTTOM, 361, 568},
        {{}, 301, 200, ALIGN_LEFT, 0, 284},
        {{}, 301, 200, ALIGN_RIGHT, 723, 284},
        {{}, 301, 200, ALIGN_LEFT | ALIGN_RIGHT, 0, 284},
        {{}, 301, 200, ALIGN_TOP | ALIGN_BOTTOM | ALIGN_LEFT | ALIGN_RIGHT | 0xF0, 0, 0},
        {{100, 50, 500, 350}, 101, 51, 0, 249, 174},
        {{100, 50, 500, 350}, 101, 51, ALIGN_RIGHT | ALIGN_BOTTOM, 399, 299},
        {{0, 0, 100, 100}, 203, 105, 0, -51, -2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "flags " << c.flags << " width " << c.width);
        const RECT& r = c.reference;
        HWND reference = IsRectEmpty(&r)
                             ? GetDesktopWindow()
                             : PlainWindow(r.left, r.top, r.right - r.left, r.bottom - r.top);
        HWND moved = PlainWindow(17, 23, c.width, c.height);
        AlignWindow(moved, reference, c.flags);
        RECT area = {};
        GetWindowRect(moved, &area);
        EXPECT_EQ(area.left, c.left);
        EXPECT_EQ(area.top, c.top);
        EXPECT_EQ(area.right - area.left, c.width);
        EXPECT_EQ(area.bottom - area.top, c.height);
        DestroyWindow(moved);
        if (reference != GetDesktopWindow()) {
            DestroyWindow(reference);
        }
    }
    PumpMessages();
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

// A second About only gives the open dialog the focus. Where it stands is watched from
// outside (TrayTest).
TEST_F(AboutDialogTest, OpensOnceWithTheProgramNameAndTheSponsorsHost) {
    ShowAboutDialog();
    PumpMessages();
    ASSERT_NE(aboutDialog, nullptr);
    auto dialogHasFocus = [] {
        return GetFocus() == aboutDialog || IsChild(aboutDialog, GetFocus());
    };
    SetFocus(mainWindowHandle);
    ASSERT_FALSE(dialogHasFocus());
    ShowAboutDialog();
    EXPECT_EQ(CallCount("CreateDialogParamA"), 1);
    EXPECT_TRUE(IsWindowVisible(aboutDialog));
    EXPECT_TRUE(dialogHasFocus());
    char text[64] = {};
    GetWindowTextA(aboutDialog, text, sizeof(text));
    EXPECT_STREQ(text, "About");
    EXPECT_EQ(GetWindow(aboutDialog, GW_OWNER), nullptr);

    std::string texts = "|";
    for (HWND child = GetWindow(aboutDialog, GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
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

// However it is closed, the dialog is really gone, not merely hidden for the rest of the
// process's life, and the next About makes a new one.
TEST_F(AboutDialogTest, OkTheCloseButtonAndDestroyingEachEndTheDialog) {
    void (*closings[])(HWND) = {
        [](HWND dialog) { SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); },
        [](HWND dialog) { SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); },
        [](HWND dialog) { DestroyWindow(dialog); }};
    for (auto close : closings) {
        ShowAboutDialog();
        PumpMessages();
        const HWND dialog = aboutDialog;
        ASSERT_NE(dialog, nullptr);
        close(dialog);
        PumpMessages();
        EXPECT_EQ(aboutDialog, nullptr);
        EXPECT_FALSE(IsWindow(dialog));
    }
    EXPECT_EQ(CallCount("CreateDialogParamA"), 3);
}
}  // namespace
