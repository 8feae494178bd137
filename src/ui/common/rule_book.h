#pragma once
// The one way a window changes the rule files: the main window owns every list and implements
// this handle; panels and dialogs get it instead of reaching into the main window.
#include <functional>

#include "store/program_paths.h"
#include "store/rule_files.h"
#include "store/rule_lists.h"
#include "store/text_file.h"

namespace tallowby::ui {

// The files a save can rewrite: the store's table of them.
using store::RuleFile;

class RuleBook {
  public:
    virtual ~RuleBook() = default;

    virtual const store::RuleLists& lists() const = 0;
    virtual const store::ProgramPaths& paths() const = 0;

    // A change to a file: the lines to write, made from the lines it holds now. It may refuse by
    // throwing a std::exception whose text is for the user (the session it changes is gone).
    using Change = std::function<store::Lines(const store::Lines& now)>;

    // Writes the whole file safely, reloads its list from the file and refreshes the widgets that
    // show it. false once the user has been told why (the file and the list are then as they were).
    // A file changed since its list was read (edited by hand) is read again first, the user is told
    // which one, and the change is made on what it holds now: no hand edit is lost unseen.
    virtual bool save(RuleFile file, const Change& change) = 0;

    // The lines made from the list as read: the change they hold is made on what the file holds
    // now (store::reapplyChange), should it have changed.
    bool save(RuleFile file, const store::Lines& lines) {
        return save(file, [file, read = store::ruleFileLines(lists(), file), lines](const store::Lines& now) {
            return store::reapplyChange(file, read, lines, now);
        });
    }

    // Reads the file again into its list, as a save does after writing: an editor shows what the
    // file says now, hand edits made while the program ran included. A missing file leaves the list
    // as it was.
    virtual void reload(RuleFile file) = 0;

    // Loads again every file of the profile that "config.db" names, as at start-up, and forgets the
    // current session: how the program switches to another profile. A profile file that is missing
    // means an empty list, so no rule of the previous profile stays in force.
    virtual void reloadProfile() = 0;
};

} // namespace tallowby::ui
