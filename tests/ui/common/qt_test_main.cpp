// Test entry for widget tests: the QApplication exists only while tests run, so listing the tests
// (at build time, for ctest) needs no display.
#include <QApplication>
#include <gtest/gtest.h>
#include <memory>

namespace {

class QtEnvironment : public testing::Environment {
  public:
    QtEnvironment(int& argc, char** argv) : argc_(argc), argv_(argv) {}
    void SetUp() override { app_ = std::make_unique<QApplication>(argc_, argv_); }
    void TearDown() override { app_.reset(); }

  private:
    int& argc_;
    char** argv_;
    std::unique_ptr<QApplication> app_;
};

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    static int qtArgc = 1;
    testing::AddGlobalTestEnvironment(new QtEnvironment(qtArgc, argv));
    return RUN_ALL_TESTS();
}
