#pragma once
// The one way a window changes the rule files: the main window owns every list and implements
// this handle; panels and dialogs get it instead of reaching into the main window.
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

    // Writes the whole file safely, reloads its list from the file and refreshes the widgets that
    // show it. false once the user has been told why (the file and the list are then as they were).
    virtual bool save(RuleFile file, const store::Lines& lines) = 0;

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
