#pragma once
// What a load of the rule files left unread: a missing or unreadable file, a name that cannot name
// files, a record the tick skips (a time it cannot read, a cut-off record), the part of a list that
// is not read. Each problem is one sentence naming its file, for telling the user once; the rules
// that could be read are enforced as they are. A problem is kept printable (report_text.h), whatever
// the path or the file's text it names holds.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "store/program_paths.h"
#include "store/text_file.h"

namespace tallowby::store {

class LoadReport {
  public:
    void add(std::string_view problem);
    void unreadable(const FileError& error);
    const std::vector<std::string>& problems() const { return problems_; }

  private:
    std::vector<std::string> problems_;
};

// The profile whose files config.db names, or "" when it names none or a name that is not a plain
// file name (which would reach outside the profiles folder).
std::string profileForFiles(const Lines& configLines);

// The problems of the lists as loaded from the files of these paths: configLines from config.db and
// the others from the files of the profile it names.
struct LoadedLists {
    const Lines& configLines;
    const Lines& sessionLines;
    const Lines& wholeDayLines;
    const Lines& reminderLines;
};
void checkLoadedLists(LoadReport& report, const LoadedLists& lists, const ProgramPaths& paths);

} // namespace tallowby::store
