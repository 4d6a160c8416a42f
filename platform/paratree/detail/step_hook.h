#pragma once
// The one door every file-system change of the save protocol goes through,
// so that tests can stop, fail or record the protocol at any step (see
// file_io::testing in tree_journal.h).
#include <filesystem>
#include <string>
#include <string_view>

namespace ovk_paratree::file_io {

// Called before every change of the file system the protocol makes; throws
// ParaTreeError when a test made this step fail or stopped the protocol.
// `kind` names the operation as testing::Operation does; `data` is the
// content of a write.
void step(const char* kind, const std::filesystem::path& path, const std::filesystem::path& to = {},
          std::string_view data = {});

// False once a test stopped the protocol: clean-up must not touch the disk
// then, as a dead process would not.
bool alive();

// False while tests leave out flushes to disk.
bool flushes_on();

// Throws ParaTreeError "Cannot <action> `<path>`: <error text>.<after>".
[[noreturn]] void fail(const std::string& action, const std::filesystem::path& path, int err,
                       const std::string& after = "");

}  // namespace ovk_paratree::file_io
