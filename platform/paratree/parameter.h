#pragma once
// A parameter: named attribute values plus one description text per locale.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/paratree/para_tree_entity.h"

namespace ovk_paratree {

// An attribute value: integer, real, text, true/false, list or mapping, nested
// to any depth (null is kept too). Mappings keep their insertion order, and a
// value comes back from a saved book exactly as stored: an integer stays an
// integer, 1.0 stays a real.
using Value = nlohmann::ordered_json;

class Parameter : public ParaTreeEntity {
public:
    // The locales a new parameter carries, in this order, each with an empty
    // text: "en_US" (English) and "zh_CN" (Simplified Chinese).
    static const std::vector<std::string>& default_locales();

    // No attributes; the default locales with empty descriptions.
    Parameter();
    Parameter(const Parameter&) = delete;
    Parameter& operator=(const Parameter&) = delete;

    std::string class_name() const override;  // "Parameter"
    // Changed since the book holding it was last loaded or saved.
    bool modified() const override;

    // ---- attributes, in insertion order (a replaced value keeps its place) ----

    // (name, value) pairs; copies, so the parameter may be changed while they
    // are walked.
    std::vector<std::pair<std::string, Value>> items() const;
    std::vector<std::string> names() const;
    bool contains(const std::string& name) const;
    // The value of attribute `name`; ParaTreeError when there is none. The
    // reference is valid until the parameter is next changed.
    const Value& get(const std::string& name) const;
    // Stores `value` under `name`: replaces in place an attribute of that name,
    // otherwise appends. Throws ParaTreeError (and changes nothing) for an
    // invalid name (see is_valid_name) and for a value that could not be saved
    // exactly: a real that is not finite, binary data, text that is not UTF-8.
    void set(const std::string& name, Value value);
    // Removes attribute `name`; false when there was none.
    bool remove(const std::string& name);
    std::size_t size() const;
    bool empty() const;

    // ---- descriptions, one text per locale key, in insertion order ----

    // The description in the current locale, with this fallback: the current
    // locale's text if it is not empty, else the "en_US" text if not empty,
    // else the first non-empty text, else "".
    std::string description() const;
    // Stores `text` as the description of the current locale.
    void set_description(const std::string& text);
    // Every (locale, text) pair in order.
    std::vector<std::pair<std::string, std::string>> all_descriptions() const;
    // The text stored for `locale`; "" when the parameter has no such locale.
    std::string get_description(const std::string& locale) const;
    bool has_description(const std::string& locale) const;
    // Stores `text` for `locale` (replaces in place, or appends a new locale).
    // Throws ParaTreeError for an empty locale key or text that is not UTF-8.
    void set_description(const std::string& locale, const std::string& text);
    // Removes the locale; false when the parameter had none of that key.
    bool remove_description(const std::string& locale);

    // The locale that description() and set_description(text) use; "en_US"
    // until changed. Shared by all parameters of the program.
    static std::string current_locale();
    // Throws ParaTreeError for an empty key.
    static void set_current_locale(const std::string& locale);

    // A deep copy: attributes and descriptions, nothing shared.
    std::shared_ptr<Parameter> clone() const;

    // ---- for the book reader and writer ----

    // The attributes as one JSON object in order (the stored form).
    const Value& attributes() const { return attributes_; }

    // The stamp of the last change (see ParaTreeEntity::next_stamp).
    std::uint64_t revision() const { return revision_; }

private:
    friend class ParameterBook;
    friend class ParameterSnapshot;  // puts the revision back after an edit that changed nothing
    struct NoDefaults {};
    explicit Parameter(NoDefaults) {}
    void touch() { revision_ = next_stamp(); }

    std::uint64_t revision_ = next_stamp();
    mutable std::uint64_t clean_at_ = 0;  // stamp of the last load or save of its book; 0: never

    Value attributes_ = Value::object();
    std::vector<std::pair<std::string, std::string>> descriptions_;
};

}  // namespace ovk_paratree
