// Entry of the tests that need a notification area: each test process gets its own X display with
// a window manager and a tray host, and its QApplication on that display. Nothing starts while the
// tests are only listed.
#include <QApplication>
#include <gtest/gtest.h>
#include <memory>

#include "support/x_session.h"

namespace {

class TrayDesktop : public testing::Environment {
  public:
    TrayDesktop(int& argc, char** argv) : argc_(argc), argv_(argv) {}

    void SetUp() override {
        session_ = std::make_unique<tallowby::testsupport::XSession>(
            tallowby::testsupport::XSessionOptions{.windowManager = true, .trayHost = true});
        session_->exportDisplay();
        qputenv("QT_QPA_PLATFORM", "xcb");
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override {
        app_.reset();
        session_.reset();
    }

  private:
    int& argc_;
    char** argv_;
    std::unique_ptr<tallowby::testsupport::XSession> session_;
    std::unique_ptr<QApplication> app_;
};

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    static int qtArgc = 1;
    testing::AddGlobalTestEnvironment(new TrayDesktop(qtArgc, argv));
    return RUN_ALL_TESTS();
}
