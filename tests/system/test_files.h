#pragma once
// The shared test helpers under the names the system tests use.
#include "support/file_bytes.h"
#include "support/temp_folder.h"
#include "support/wait_until.h"

namespace tallowby::test {

using testsupport::readFile;
using testsupport::TempFolder;
using testsupport::waitUntil;
using testsupport::writeFile;

} // namespace tallowby::test
