#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "e2e/support/browser_record.h"
#include "e2e/support/dialog_app.h"
#include "resource_ids.h"

namespace {

using e2e::DialogApp;

TEST(DialogDonate, OpensTheInternationalDonationPage) {
    e2e::BrowserRecord browser;
    ASSERT_TRUE(browser.Installed());
    DialogApp app({{L"lng", L"1"}});
    ASSERT_NE(app.Start(), nullptr);
    PostMessageW(app.Dialog().Window(), WM_COMMAND, IDM_DONATE, 0);
    std::string address = browser.NextAddress();
    EXPECT_NE(address.find("velmora-soft.com/donate.php?seite=PayPal&Program=Velmora"), std::string::npos) << address;
}

TEST(DialogDonate, OpensTheGermanDonationPageInGerman) {
    e2e::BrowserRecord browser;
    ASSERT_TRUE(browser.Installed());
    DialogApp app({{L"lng", L"0"}});
    ASSERT_NE(app.Start(), nullptr);
    PostMessageW(app.Dialog().Window(), WM_COMMAND, IDM_DONATE, 0);
    std::string address = browser.NextAddress();
    EXPECT_NE(address.find("velmora-soft.de/donate.php?seite=PayPal&Program=Velmora"), std::string::npos) << address;
}

}  // namespace
