#include "platform/paratree/detail/step_hook.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>

#include "platform/paratree/detail/file_io.h"
#include "platform/paratree/detail/tree_journal.h"
#include "platform/paratree/para_tree_error.h"

namespace ovk_paratree::file_io {

namespace fs = std::filesystem;

namespace {

// The test hook: how many steps may still run (-1: any number).
std::atomic<long> steps_left{-1};
std::atomic<long> taken{0};
std::atomic<bool> stopped{false};
std::atomic<bool> persisting{false};
std::atomic<int> injected_error{EIO};
std::atomic<testing::StepMode> step_mode{testing::StepMode::Stop};
std::atomic<bool> flushes{true};
std::atomic<bool> recording{false};
std::mutex recorded_mutex;
std::vector<testing::Operation> recorded;


}  // namespace

[[noreturn]] void fail(const std::string& action, const fs::path& path, int err, const std::string& after)
{
    throw ParaTreeError("Cannot " + action + " `" + to_text(path) + "`: " + std::strerror(err) + "." + after);
}

// Called before every change of the file system the protocol makes.
void step(const char* kind, const fs::path& path, const fs::path& to, std::string_view data)
{
    if (stopped) throw ParaTreeError("Cannot change `" + to_text(path) + "`: stopped for a test.");
    if (persisting) fail("change", path, injected_error, " (injected for a test)");
    ++taken;
    if (recording) {
        std::lock_guard lock(recorded_mutex);
        recorded.push_back({kind, path, to, std::string(data)});
    }
    long left = steps_left.load();
    if (left < 0) return;
    steps_left = left - 1;
    if (left > 0) return;
    if (step_mode == testing::StepMode::Stop) stopped = true;
    else if (step_mode == testing::StepMode::Persist) persisting = true;
    else steps_left = -1;
    fail("change", path, injected_error, " (injected for a test)");
}

bool alive() { return !stopped; }

bool flushes_on() { return flushes; }


namespace testing {

void limit_steps(long steps, StepMode mode, int error)
{
    step_mode = mode;
    injected_error = error;
    stopped = false;
    persisting = false;
    taken = 0;
    steps_left = steps;
}

void reset()
{
    steps_left = -1;
    stopped = false;
    persisting = false;
    taken = 0;
}

long steps_taken() { return taken; }

void skip_flushes(bool skip) { flushes = !skip; }

void record_operations(bool on)
{
    std::lock_guard lock(recorded_mutex);
    if (on) recorded.clear();
    recording = on;
}

std::vector<Operation> recorded_operations()
{
    std::lock_guard lock(recorded_mutex);
    return recorded;
}

}  // namespace testing

}  // namespace ovk_paratree::file_io
