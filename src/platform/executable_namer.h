#pragma once
// The plainest namer: a window answers to its executable's name alone, and belongs to no installed
// application. It stands in where nothing better is at hand.
#include "platform/process_list.h"
#include "platform/program_names.h"

namespace tallowby::platform {

class ExecutableNamer : public ProgramNamer {
  public:
    explicit ExecutableNamer(ProcessLister& processes) : processes_(processes) {}
    ProgramNames namesOf(const TopLevelWindow& window) override;

  private:
    ProcessLister& processes_;
};

} // namespace tallowby::platform
