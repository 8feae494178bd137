// The session picker over real programs from Debian's packages on a private Xvfb with openbox: the
// name "<<" records for a program an interpreter or runtime runs is its own (IDLE, a Tk script of
// the user's, a Java program), not the interpreter's, and it reaches that program's windows alone.
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "platform/linux/xdg_desktop_entries.h"
#include "platform/x11/x11_platform.h"
#include "support/temp_folder.h"
#include "support/wait_until.h"
#include "support/x_session.h"
#include "ui/rules/unt_addprocess.h"

namespace tallowby::test {
namespace {

using namespace std::chrono_literals;
using platform::WindowId;

// A program of the user's own, run by whichever python3 comes first on the search path.
constexpr char kNotesScript[] = R"(#!/usr/bin/env python3
import tkinter
root = tkinter.Tk()
root.title("Notes")
root.mainloop()
)";

constexpr char kJavaNotes[] = R"(public class Notes {
    public static void main(String[] args) {
        javax.swing.SwingUtilities.invokeLater(() -> {
            javax.swing.JFrame frame = new javax.swing.JFrame("Java Notes");
            frame.setSize(200, 100);
            frame.setVisible(true);
        });
    }
}
)";

class RealProcessPickerTest : public testing::Test {
  protected:
    // Starts the program and waits for its window; the window, with an id of 0 when none came.
    platform::TopLevelWindow start(const std::string& program, const std::vector<std::string>& args) {
        testsupport::ChildProcess& child = children.emplace_back(session.start(program, args));
        const auto pid = static_cast<platform::ProcessId>(child.pid());
        platform::TopLevelWindow shown{};
        testsupport::waitUntil(
            [&] {
                for (const auto& window : x11.windows().topLevelWindows())
                    if (window.pid == pid && window.visible)
                        shown = window;
                return shown.id != 0;
            },
            30s);
        EXPECT_NE(shown.id, 0u) << program << " showed no window";
        return shown;
    }

    std::vector<WindowId> blocked(const std::string& name) {
        engine::SweepRule rule;
        rule.kind = engine::SweepKind::SessionBlock;
        rule.names = {name};
        std::vector<WindowId> ids;
        for (const auto& posted : platform::WindowSweep(x11.sweepPlatform(), rule, platform::kNoProcess))
            ids.push_back(posted.window);
        std::ranges::sort(ids);
        return ids;
    }

    testsupport::TempFolder data;
    testsupport::XSession session;
    platform::XdgDesktopEntries entries{{"/usr/share"}};
    platform::x11::X11Platform x11{session.display(), &entries};
    std::vector<testsupport::ChildProcess> children;
};

TEST_F(RealProcessPickerTest, SelectRecordsTheMostSpecificNameWhichReachesThatProgramAlone) {
    if (!std::filesystem::exists("/usr/bin/idle"))
        GTEST_SKIP() << "Debian's idle is not installed";
    const std::filesystem::path notes = data.path() / "tknotes.py";
    std::ofstream(notes) << kNotesScript;
    std::filesystem::permissions(notes, std::filesystem::perms::owner_all);
    // Each window with the name the picker shows and records for it.
    std::vector<std::pair<platform::TopLevelWindow, QString>> windows{
        {start("xterm", {"-T", "", "-e", "sleep", "600"}), "debian-xterm"},
        {start("/usr/bin/idle", {}), "idle"},
        {start("/usr/bin/python3", {"-m", "idlelib"}), "idle"}, // IDLE's launcher runs the same
        {start(notes.string(), {}), "tknotes.py"},
    };
    // A Java program where a JDK can build one.
    std::ofstream(data.path() / "Notes.java") << kJavaNotes;
    const std::string build = "command -v javac >/dev/null && command -v jar >/dev/null && cd '" +
                              data.path().string() +
                              "' && javac Notes.java && jar cfe notes.jar Notes *.class";
    if (std::system(build.c_str()) == 0)
        windows.emplace_back(start("java", {"-jar", (data.path() / "notes.jar").string()}), "notes.jar");
    else
        std::cout << "No JDK: the Java program is left out\n";

    QListWidget target;
    ui::Tfrm_AddProcess picker(&target, x11.windows(), x11.processes(), x11.programNamer(), entries);
    picker.GetAllProgress();
    QStringList recorded;
    for (const auto& [window, name] : windows) {
        // Two IDLEs share a title, and IDLE marks its title once it has run: each row is found by
        // the window it stands for.
        QListWidgetItem* row = nullptr;
        for (int at = 0; at < picker.lb_programlist->count(); ++at)
            if (picker.lb_programlist->item(at)->data(Qt::UserRole).toULongLong() == window.id)
                row = picker.lb_programlist->item(at);
        ASSERT_NE(row, nullptr) << name.toStdString() << " is not listed";
        const QString shown = window.title.empty() ? "[" + name + "]" : "   [" + name + "]";
        EXPECT_TRUE(row->text().endsWith(shown)) << row->text().toStdString();
        picker.lb_programlist->setCurrentItem(row);
        picker.btn_select->click();
        recorded << name;
    }
    QStringList selected;
    for (int row = 0; row < picker.lb_processlist->count(); ++row)
        selected << picker.lb_processlist->item(row)->text();
    EXPECT_EQ(selected.join(", ").toStdString(), recorded.join(", ").toStdString());

    for (const auto& [_, name] : windows) {
        std::vector<WindowId> named;
        for (const auto& [window, other] : windows)
            if (other == name)
                named.push_back(window.id);
        std::ranges::sort(named);
        EXPECT_EQ(blocked(name.toStdString()), named) << name.toStdString();
    }
}

} // namespace
} // namespace tallowby::test
