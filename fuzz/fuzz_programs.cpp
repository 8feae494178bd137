// What other programs are, read from what they leave in reach: an executable's GNU build ID from
// ELF files in any state, and the file an interpreter or the loader runs from any command line. The
// same bytes serve both: as a file, and as NUL-separated words.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

#include "platform/linux/elf_build_id.h"
#include "platform/program_command.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallowby::platform;
    static const int file = ::memfd_create("fuzz-program", MFD_CLOEXEC);
    if (file < 0 || ::ftruncate(file, 0) != 0 ||
        (size > 0 && ::pwrite(file, data, size, 0) != static_cast<ssize_t>(size))) {
        return 0;
    }
    const std::string id = readBuildId(file);
    if (id.size() % 2 != 0 || id.size() > 128) {
        __builtin_trap(); // hex of at most 64 bytes
    }

    std::vector<std::string> words(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            words.emplace_back();
        } else {
            words.back() += static_cast<char>(data[i]);
        }
    }
    for (const std::string& name : commandNames(words.front(), words)) {
        if (name.empty()) {
            __builtin_trap();
        }
    }
    bareProgramName(words.front());
    return 0;
}
