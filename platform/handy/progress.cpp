#include "platform/handy/progress.h"

#include <stdexcept>

namespace ovk_handy {

Progress::Progress(std::vector<std::string> names)
{
    for (auto& n : names)
        levels_.push_back(Level{std::move(n), 0, 0});
}

Progress::Level& Progress::at(int i)
{
    if (i < 0 || i >= static_cast<int>(levels_.size()))
        throw std::out_of_range("Progress has no level " + std::to_string(i) + ".");
    return levels_[i];
}

const Progress::Level& Progress::at(int i) const
{
    return const_cast<Progress*>(this)->at(i);
}

int Progress::level() const
{
    std::lock_guard guard(lock_);
    return static_cast<int>(levels_.size());
}

int Progress::add_level(const std::string& name, long long subtotal)
{
    std::lock_guard guard(lock_);
    levels_.push_back(Level{name, 0, subtotal});
    return static_cast<int>(levels_.size()) - 1;
}

std::string Progress::get_name(int i) const
{
    std::lock_guard guard(lock_);
    return at(i).name;
}

long long Progress::get_progress(int i) const
{
    std::lock_guard guard(lock_);
    return at(i).done;
}

long long Progress::get_subtotal(int i) const
{
    std::lock_guard guard(lock_);
    return at(i).subtotal;
}

void Progress::set_name(int i, const std::string& name)
{
    std::lock_guard guard(lock_);
    at(i).name = name;
}

void Progress::set_subtotal(int i, long long subtotal)
{
    std::lock_guard guard(lock_);
    at(i).subtotal = subtotal;
}

void Progress::set_progress(int i, long long done)
{
    std::lock_guard guard(lock_);
    at(i).done = done;
}

void Progress::step(int i, long long by)
{
    std::lock_guard guard(lock_);
    at(i).done += by;
}

void Progress::start(int i, long long subtotal)
{
    std::lock_guard guard(lock_);
    Level& l = at(i);
    l.done = 0;
    l.subtotal = subtotal;
}

void Progress::start(int i, long long subtotal, const std::string& name)
{
    std::lock_guard guard(lock_);
    Level& l = at(i);
    l.name = name;
    l.done = 0;
    l.subtotal = subtotal;
}

Progress::Status Progress::status() const
{
    std::lock_guard guard(lock_);
    return status_;
}

void Progress::end(Status s, const std::string& reason)
{
    std::lock_guard guard(lock_);
    if (status_ != Status::Running)
        return;
    status_ = s;
    failure_ = reason;
}

void Progress::finish()
{
    end(Status::Done, {});
}

void Progress::cancel()
{
    end(Status::Cancelled, {});
}

void Progress::fail(const std::string& reason)
{
    end(Status::Failed, reason);
}

std::string Progress::failure() const
{
    std::lock_guard guard(lock_);
    return failure_;
}

}  // namespace ovk_handy
