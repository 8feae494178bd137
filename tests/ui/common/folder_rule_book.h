#pragma once
// A rule book over real files: a save writes the file and reloads the list through the store, as
// the main window's does, and a failure reaches the user as a message. For driving a panel or a
// dialog without the main window.
#include <string>
#include <utility>

#include "store/config_lines.h"
#include "store/rule_files.h"
#include "ui/common/local_text.h"
#include "ui/common/message_box.h"
#include "ui/common/rule_book.h"

namespace tallowby::test {

class FolderRuleBook : public ui::RuleBook {
  public:
    explicit FolderRuleBook(store::ProgramPaths paths, std::string profile = "Work")
        : paths_(std::move(paths)), profile_(std::move(profile)) {}

    const store::RuleLists& lists() const override { return rules; }
    const store::ProgramPaths& paths() const override { return paths_; }

    using ui::RuleBook::save;
    bool save(ui::RuleFile file, const Change& change) override {
        const auto path = pathOf(file);
        try {
            const store::Lines lines = change(store::ruleFileLines(rules, file));
            store::writeLines(path, lines, paths_.folder());
        } catch (const std::exception& error) {
            ui::showMessage(nullptr, ui::fromBytes(error.what()));
            return false;
        }
        ++saves;
        load(file);
        return true;
    }

    void reload(ui::RuleFile file) override { load(file); }

    void reloadProfile() override {
        ++profileReloads;
        for (const auto file : {ui::RuleFile::Config, ui::RuleFile::Profiles, ui::RuleFile::Sessions,
                                ui::RuleFile::WholeDay, ui::RuleFile::Reminders})
            load(file);
    }

    // The profile "config.db" names once it is loaded, else the one the book was made with.
    std::filesystem::path pathOf(ui::RuleFile file) const {
        const std::string& named = store::configValue(rules.ConfigLines, store::ConfigLine::Profile);
        const std::string& profile = named.empty() ? profile_ : named;
        return store::ruleFilePath(file, paths_, profile);
    }

    store::RuleLists rules;
    int saves = 0;
    int profileReloads = 0;

  private:
    void load(ui::RuleFile file) { store::ruleFileKind(file).load(rules, paths_, pathOf(file)); }

    store::ProgramPaths paths_;
    std::string profile_;
};

} // namespace tallowby::test
