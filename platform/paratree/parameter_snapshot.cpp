#include "platform/paratree/parameter_snapshot.h"

#include <string>
#include <utility>

namespace ovk_paratree {

ParameterSnapshot::ParameterSnapshot(std::shared_ptr<Parameter> parameter)
    : parameter_(std::move(parameter)), saved_(parameter_->clone()), revision_(parameter_->revision())
{
}

bool ParameterSnapshot::unchanged() const
{
    return parameter_->attributes() == saved_->attributes() &&
           parameter_->all_descriptions() == saved_->all_descriptions();
}

void ParameterSnapshot::settle()
{
    if (unchanged())
        parameter_->revision_ = revision_;
}

void ParameterSnapshot::restore()
{
    if (!unchanged()) {
        // The object itself stays: the tree and any open view point at it.
        for (const std::string& name : parameter_->names())
            parameter_->remove(name);
        for (const auto& [name, value] : saved_->items())
            parameter_->set(name, value);
        for (const auto& [locale, text] : parameter_->all_descriptions())
            parameter_->remove_description(locale);
        for (const auto& [locale, text] : saved_->all_descriptions())
            parameter_->set_description(locale, text);
    }
    parameter_->revision_ = revision_;
}

}  // namespace ovk_paratree
