#pragma once
// The program's whole set of windows, made and wired as the program makes them, against a
// temporary program folder laid out as the installation lays it out. Enforcement is fake (a hosts
// file in the folder, recorded window commands), the clock is fixed, messages are recorded, and
// the start-up timer is held back: tests perform the handlers themselves.
#include <QString>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "app/program_windows.h"
#include "fake_enforcement.h"
#include "modal_answer.h"
#include "platform/hosts/hosts_content.h"
#include "program_folder_fixture.h"
#include "store/config_lines.h"
#include "support/sim_clock.h"
#include "ui/main/untmain.h"

class QDialog;

namespace tallowby::test {

enum class CodeAnswer { Correct, WrongThenCancel, Cancel };

class ShellTest : public testing::Test {
  protected:
    ShellTest();

    // Before start(): a line of the "config.db" the program will read.
    void setConfig(store::ConfigLine line, const std::string& value);
    // Makes the windows, after beforeWindows has had its way with the files (config.db is written by
    // then). Shows the main window when shown,
    // as the program does unless it starts to the notification area. The tick runs on its own timer only once
    // a test runs the rules.
    void start(const std::function<void()>& beforeWindows = {}, bool shown = false);
    // The start-up Run, as the one-shot timer performs it shortly after the message loop starts.
    void startUpRun();

    // The sites the program's block in the hosts file lists after its localhost line.
    std::vector<std::string> blockedSites() const;
    bool hostsHasOnlyLocalhost() const { return blockedSites().empty(); }
    // The same lines with their locks, the localhost line first.
    std::vector<platform::BlockLine> blockLines() const;
    store::Lines configFile() const;

    // Answers the check-code dialog that the next action opens.
    void answerCheckCode(CodeAnswer answer);
    // Runs the action and closes (rejects) every modal dialog it opens without being asked to;
    // returns how many there were, so a test fails instead of hanging on an unexpected window.
    int unexpectedModals(const std::function<void()>& action);

    QString runIconKey() const;
    QString stoppedIconKey() const;
    static QString iconKey(const QIcon& icon);

    TempProgramFolder folder;
    FakeEnforcement enforcement{folder.folder() / "hosts"};
    MessageLog messages;
    SimClock* clock = nullptr;
    app::ProgramWindows windows;
    ui::Tfrmmain* main = nullptr;

  private:
    store::Lines config_;
};

} // namespace tallowby::test
