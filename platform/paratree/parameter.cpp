#include "platform/paratree/parameter.h"

#include <cmath>
#include <mutex>

#include "platform/paratree/detail/file_io.h"
#include "platform/paratree/detail/utf8_check.h"
#include "platform/paratree/invalid_name_characters.h"
#include "platform/paratree/para_tree_error.h"

namespace ovk_paratree {

namespace {

std::mutex locale_mutex;
std::string current_locale_key = "en_US";

// Why `value` could not be saved and read back exactly, or "" when it can.
// `depth`: the lists and mappings around `value`.
std::string value_fault(const Value& value, int depth)
{
    if (value.is_structured() && depth >= MaxValueNesting)
        return "it is nested deeper than " + std::to_string(MaxValueNesting) + " levels";
    switch (value.type()) {
    case Value::value_t::object:
        for (const auto& [key, item] : value.items()) {
            if (!detail::is_utf8(key)) return "a mapping key is not valid UTF-8 text";
            if (std::string f = value_fault(item, depth + 1); !f.empty()) return f;
        }
        return {};
    case Value::value_t::array:
        for (const auto& item : value)
            if (std::string f = value_fault(item, depth + 1); !f.empty()) return f;
        return {};
    case Value::value_t::string:
        return detail::is_utf8(value.get_ref<const std::string&>()) ? "" : "a text is not valid UTF-8";
    case Value::value_t::number_float:
        return std::isfinite(value.get<double>()) ? "" : "a real number is not finite";
    case Value::value_t::binary:
        return "binary data cannot be stored";
    case Value::value_t::discarded:
        return "a discarded value cannot be stored";
    default:
        return {};
    }
}

}  // namespace

const std::vector<std::string>& Parameter::default_locales()
{
    static const std::vector<std::string> locales{"en_US", "zh_CN"};
    return locales;
}

Parameter::Parameter()
{
    for (const auto& locale : default_locales()) descriptions_.emplace_back(locale, std::string());
}

std::string Parameter::class_name() const { return "Parameter"; }

bool Parameter::modified() const { return clean_at_ == 0 || revision_ > clean_at_; }

std::vector<std::pair<std::string, Value>> Parameter::items() const
{
    std::vector<std::pair<std::string, Value>> out;
    out.reserve(attributes_.size());
    for (const auto& [name, value] : attributes_.items()) out.emplace_back(name, value);
    return out;
}

std::vector<std::string> Parameter::names() const
{
    std::vector<std::string> out;
    out.reserve(attributes_.size());
    for (const auto& [name, value] : attributes_.items()) out.push_back(name);
    return out;
}

bool Parameter::contains(const std::string& name) const { return attributes_.contains(name); }

const Value& Parameter::get(const std::string& name) const
{
    const auto it = attributes_.find(name);
    if (it == attributes_.end()) throw ParaTreeError("The parameter has no attribute `" + name + "`.");
    return *it;
}

void Parameter::set(const std::string& name, Value value)
{
    file_io::require_valid_name(name, "Attribute name");
    if (std::string fault = value_fault(value, 0); !fault.empty())
        throw ParaTreeError("The value of attribute `" + name + "` cannot be stored: " + fault + ".");
    attributes_[name] = std::move(value);  // replaces in place or appends
    touch();
}

bool Parameter::remove(const std::string& name)
{
    if (attributes_.erase(name) == 0) return false;
    touch();
    return true;
}

std::size_t Parameter::size() const { return attributes_.size(); }

bool Parameter::empty() const { return attributes_.empty(); }

std::string Parameter::description() const
{
    const std::string locale = current_locale();
    for (const auto& [key, text] : descriptions_)
        if (key == locale && !text.empty()) return text;
    for (const auto& [key, text] : descriptions_)
        if (key == "en_US" && !text.empty()) return text;
    for (const auto& [key, text] : descriptions_)
        if (!text.empty()) return text;
    return {};
}

void Parameter::set_description(const std::string& text) { set_description(current_locale(), text); }

std::vector<std::pair<std::string, std::string>> Parameter::all_descriptions() const { return descriptions_; }

std::string Parameter::get_description(const std::string& locale) const
{
    for (const auto& [key, text] : descriptions_)
        if (key == locale) return text;
    return {};
}

bool Parameter::has_description(const std::string& locale) const
{
    for (const auto& entry : descriptions_)
        if (entry.first == locale) return true;
    return false;
}

void Parameter::set_description(const std::string& locale, const std::string& text)
{
    if (locale.empty()) throw ParaTreeError("A description needs a locale key; the key is empty.");
    if (!detail::is_utf8(locale) || !detail::is_utf8(text))
        throw ParaTreeError("The description for locale `" + locale + "` cannot be stored: it is not valid UTF-8 text.");
    for (auto& [key, stored] : descriptions_)
        if (key == locale) {
            stored = text;
            touch();
            return;
        }
    descriptions_.emplace_back(locale, text);
    touch();
}

bool Parameter::remove_description(const std::string& locale)
{
    for (auto it = descriptions_.begin(); it != descriptions_.end(); ++it)
        if (it->first == locale) {
            descriptions_.erase(it);
            touch();
            return true;
        }
    return false;
}

std::string Parameter::current_locale()
{
    std::lock_guard lock(locale_mutex);
    return current_locale_key;
}

void Parameter::set_current_locale(const std::string& locale)
{
    if (locale.empty()) throw ParaTreeError("The current locale cannot be an empty key.");
    std::lock_guard lock(locale_mutex);
    current_locale_key = locale;
}

std::shared_ptr<Parameter> Parameter::clone() const
{
    std::shared_ptr<Parameter> copy(new Parameter(NoDefaults{}));
    copy->attributes_ = attributes_;
    copy->descriptions_ = descriptions_;
    return copy;
}

}  // namespace ovk_paratree
