#pragma once
// A throw-away program folder with files written exactly as the program writes them.
#include <QTemporaryDir>
#include <filesystem>
#include <string>

#include "store/program_paths.h"
#include "store/text_file.h"

namespace tallowby::test {

class TempProgramFolder {
  public:
    TempProgramFolder() : paths_(std::filesystem::path(dir_.path().toStdString())) {
        std::filesystem::create_directories(paths_.profilesFolder());
    }

    const store::ProgramPaths& paths() const { return paths_; }
    std::filesystem::path folder() const { return paths_.folder(); }

    void write(const std::filesystem::path& path, const store::Lines& lines) const {
        store::writeLines(path, lines);
    }

  private:
    QTemporaryDir dir_;
    store::ProgramPaths paths_;
};

} // namespace tallowby::test
