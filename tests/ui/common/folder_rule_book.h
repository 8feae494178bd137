#pragma once
// A rule book over real files: a save writes the file and reloads the list through the store, as
// the main window's does, and a failure reaches the user as a message. For driving a panel or a
// dialog without the main window.
#include <string>
#include <utility>

#include "store/list_loaders.h"
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

    bool save(ui::RuleFile file, const store::Lines& lines) override {
        const auto path = file == ui::RuleFile::Config     ? paths_.configFile()
                          : file == ui::RuleFile::Sessions ? paths_.sessionFile(profile_)
                                                           : paths_.wholeDayFile(profile_);
        try {
            store::writeLines(path, lines);
        } catch (const store::FileError& error) {
            ui::showMessage(nullptr, ui::fromBytes(error.what()));
            return false;
        }
        ++saves;
        if (file == ui::RuleFile::Config)
            store::loadConfigList(rules, path);
        else if (file == ui::RuleFile::Sessions)
            store::loadSessionList(rules, path);
        else
            store::loadWholeDayList(rules, path);
        return true;
    }

    store::RuleLists rules;
    int saves = 0;

  private:
    store::ProgramPaths paths_;
    std::string profile_;
};

} // namespace tallowby::test
