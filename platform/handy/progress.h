#pragma once
// Progress of work done on other threads, in nested levels (for example
// batches, boards in a batch, channels on a board), read by a display.
//
// Every member may be called from any thread; each call is atomic on its own.
// A worker typically does:
//
//   ovk_handy::Progress progress({"Batch", "Board", "Channel"});
//   progress.start(0, batches);
//   for (...) {
//       progress.start(1, boards, "Batch 3");     // level 1 begins afresh
//       ...                                       // progress.step(2) per unit
//       progress.step(0);
//       if (progress.stopped()) return;           // cancelled from outside
//   }
//   progress.finish();                            // or fail("why")
#include <mutex>
#include <string>
#include <vector>

namespace ovk_handy {

class Progress {
public:
    enum class Status { Running, Done, Cancelled, Failed };

    // One level per name, each with 0 of 0 done; the status is Running.
    explicit Progress(std::vector<std::string> names = {});
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // Number of levels.
    int level() const;
    // Appends a level and answers its index.
    int add_level(const std::string& name, long long subtotal = 0);

    // Name, work done and total work of level `i`; std::out_of_range for an unknown level.
    std::string get_name(int i) const;
    long long get_progress(int i) const;
    long long get_subtotal(int i) const;

    void set_name(int i, const std::string& name);
    void set_subtotal(int i, long long subtotal);
    void set_progress(int i, long long done);
    // Adds `by` to the work done at level `i`.
    void step(int i, long long by = 1);
    // Begins level `i` afresh: 0 of `subtotal` done, optionally renamed.
    void start(int i, long long subtotal);
    void start(int i, long long subtotal, const std::string& name);

    Status status() const;
    bool running() const { return status() == Status::Running; }
    // True once the work has left Running, for whatever reason.
    bool stopped() const { return !running(); }
    // The work ended: Done, Cancelled or Failed. Only the first end counts,
    // so a worker finishing after a cancel does not turn it into Done.
    void finish();
    void cancel();
    void fail(const std::string& reason);
    // Why the work failed; empty unless the status is Failed.
    std::string failure() const;

private:
    struct Level {
        std::string name;
        long long done = 0;
        long long subtotal = 0;
    };
    Level& at(int i);
    const Level& at(int i) const;
    void end(Status s, const std::string& reason);

    mutable std::mutex lock_;
    std::vector<Level> levels_;
    Status status_ = Status::Running;
    std::string failure_;
};

}  // namespace ovk_handy
