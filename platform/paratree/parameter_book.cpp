#include "platform/paratree/parameter_book.h"

#include <algorithm>
#include <unordered_set>

#include "platform/paratree/detail/file_io.h"
#include "platform/paratree/detail/named_list.h"
#include "platform/paratree/detail/utf8_check.h"
#include "platform/paratree/para_tree_error.h"

namespace ovk_paratree {

namespace fs = std::filesystem;

const std::string ParameterBook::ExtName = "pbook";

namespace {

constexpr std::string_view FormatName = "ovk-parameter-book";
constexpr int FormatVersion = 1;
// The envelope adds four levels (the book, the parameters, the parameter and
// its attributes) above a value.
constexpr int MaxFileNesting = MaxValueNesting + 4;

// Builds the document in one pass, linear in its size: a mapping's entries
// are appended in file order without the ordered map's own search per
// insert, and a name given twice in one mapping is caught with a hash set
// once a mapping grows. Stops at the first list or mapping nested deeper than
// MaxFileNesting, so that no deeper value ever reaches the recursive writer.
class DocumentBuilder {
public:
    explicit DocumentBuilder(Value& root) : root_(root) {}
    bool too_deep = false;
    std::string duplicate;  // the name given twice, when one was

    bool null() { return put(Value(nullptr)); }
    bool boolean(bool v) { return put(Value(v)); }
    bool number_integer(std::int64_t v) { return put(Value(v)); }
    bool number_unsigned(std::uint64_t v) { return put(Value(v)); }
    bool number_float(double v, const std::string&) { return put(Value(v)); }
    bool string(std::string& v) { return put(Value(std::move(v))); }
    bool binary(Value::binary_t& v) { return put(Value(std::move(v))); }
    bool start_object(std::size_t) { return open(Value::object()); }
    bool start_array(std::size_t) { return open(Value::array()); }
    bool end_object() { return close(); }
    bool end_array() { return close(); }

    bool key(std::string& name)
    {
        Frame& frame = frames_.back();
        auto& entries = frame.value->get_ref<Value::object_t&>();
        constexpr std::size_t LinearUpTo = 16;  // small mappings: a scan beats hashing
        bool seen = false;
        if (entries.size() < LinearUpTo) {
            for (const auto& entry : entries) seen = seen || entry.first == name;
        } else {
            if (frame.names.empty())
                for (const auto& entry : entries) frame.names.insert(entry.first);
            seen = !frame.names.insert(name).second;
        }
        if (seen) {
            duplicate = name;
            return false;
        }
        key_ = std::move(name);
        return true;
    }

    [[noreturn]] bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e)
    {
        throw e;
    }

private:
    struct Frame {
        Value* value;
        std::unordered_set<std::string> names;  // filled once the mapping is large
    };

    Value* place(Value&& v)
    {
        if (frames_.empty()) {
            root_ = std::move(v);
            return &root_;
        }
        Value& top = *frames_.back().value;
        if (top.is_array()) {
            auto& items = top.get_ref<Value::array_t&>();
            items.push_back(std::move(v));
            return &items.back();
        }
        auto& entries = static_cast<Value::object_t::Container&>(top.get_ref<Value::object_t&>());
        entries.emplace_back(std::move(key_), std::move(v));
        return &entries.back().second;
    }
    bool put(Value&& v)
    {
        place(std::move(v));
        return true;
    }
    bool open(Value&& container)
    {
        if (static_cast<int>(frames_.size()) >= MaxFileNesting) {
            too_deep = true;
            return false;
        }
        frames_.push_back({place(std::move(container)), {}});
        return true;
    }
    bool close()
    {
        frames_.pop_back();
        return true;
    }

    Value& root_;
    std::vector<Frame> frames_;
    std::string key_;
};

[[noreturn]] void layout_error(const std::string& source, const std::string& what)
{
    throw ParaTreeError("Parameter book `" + source + "` is not a parameter book: " + what + ".");
}

// The JSON library's message without its "[json.exception...] " tag. It
// quotes the bytes last read, which may end inside a character.
std::string json_detail(const std::exception& e)
{
    std::string text = e.what();
    if (!text.empty() && text.front() == '[') {
        const auto end = text.find("] ");
        if (end != std::string::npos) text.erase(0, end + 2);
    }
    return detail::valid_utf8(text);
}

// A JSON string literal, written as the JSON library writes it (UTF-8 kept,
// control characters escaped).
void append_json_string(std::string& out, const std::string& text)
{
    static constexpr char hex[] = "0123456789abcdef";
    out += '"';
    for (char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                out += "\\u00";
                out += hex[(c >> 4) & 0xf];
                out += hex[c & 0xf];
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

}  // namespace

std::string ParameterBook::class_name() const { return "ParameterBook"; }

bool ParameterBook::modified() const { return clean_at_ == 0 || changed_since(clean_at_); }

bool ParameterBook::changed_since(std::uint64_t stamp) const
{
    if (revision_ > stamp) return true;
    for (const auto& entry : parameters_)
        if (entry.second->revision() > stamp) return true;
    return false;
}

void ParameterBook::mark_clean(std::uint64_t stamp) const
{
    clean_at_ = stamp;
    for (const auto& entry : parameters_) entry.second->clean_at_ = stamp;
}

std::shared_ptr<ParameterBook> ParameterBook::load(const fs::path& file)
{
    const std::string text = file_io::read_file(file, "parameter book");
    auto book = from_text(text, file_io::to_text(file));
    book->mark_clean(next_stamp());
    return book;
}

std::shared_ptr<ParameterBook> ParameterBook::from_text(std::string_view text, const std::string& source)
{
    Value doc;
    try {
        DocumentBuilder builder(doc);
        Value::sax_parse(text.begin(), text.end(), &builder);
        if (builder.too_deep)
            layout_error(source, "its values are nested deeper than " + std::to_string(MaxValueNesting) + " levels");
        if (!builder.duplicate.empty())
            layout_error(source, "it names `" + builder.duplicate +
                                     "` twice in one mapping (a parameter, attribute or locale given twice)");
    } catch (const Value::exception& e) {
        throw ParaTreeError("Parameter book `" + source + "` is not valid JSON: " + json_detail(e));
    }

    if (!doc.is_object()) layout_error(source, "the file does not hold a JSON object");
    for (const auto& [key, value] : doc.items())
        if (key != "format" && key != "version" && key != "parameters")
            layout_error(source, "unknown field \"" + key + "\"");
    const auto format = doc.find("format");
    if (format == doc.end() || !format->is_string() || format->get_ref<const std::string&>() != FormatName)
        layout_error(source, "\"format\" is not \"" + std::string(FormatName) + "\"");
    const auto version = doc.find("version");
    if (version == doc.end() || !version->is_number_integer())
        layout_error(source, "\"version\" is missing or not an integer");
    const bool newer = version->is_number_unsigned() ? version->get<std::uint64_t>() > FormatVersion
                                                     : version->get<std::int64_t>() > FormatVersion;
    if (newer)
        layout_error(source, "it has format version " + version->dump() + ", newer than this program reads (" +
                                 std::to_string(FormatVersion) + ")");
    if (version->get<std::int64_t>() != FormatVersion)
        layout_error(source, "\"version\" " + version->dump() + " is not a format version");
    const auto parameters = doc.find("parameters");
    if (parameters == doc.end() || !parameters->is_object())
        layout_error(source, "\"parameters\" is missing or not a mapping");

    auto book = std::make_shared<ParameterBook>();
    book->parameters_.reserve(parameters->size());
    for (auto& [name, entry] : parameters->items()) {
        // Only built for a message: a book may hold many parameters.
        const auto where = [&name = name] { return "parameter `" + name + "`"; };
        if (!entry.is_object()) layout_error(source, where() + " is not a mapping");
        std::shared_ptr<Parameter> parameter(new Parameter(Parameter::NoDefaults{}));
        for (auto& [key, part] : entry.items()) {
            if (key == "attributes") {
                if (!part.is_object()) layout_error(source, "\"attributes\" of " + where() + " is not a mapping");
                parameter->attributes_ = std::move(part);
            } else if (key == "descriptions") {
                if (!part.is_object()) layout_error(source, "\"descriptions\" of " + where() + " is not a mapping");
                parameter->descriptions_.reserve(part.size());
                for (auto& [locale, description] : part.items()) {
                    if (!description.is_string())
                        layout_error(source, "the description for locale `" + locale + "` of " + where() +
                                                 " is not a text");
                    if (locale.empty()) layout_error(source, "a description of " + where() + " has an empty locale key");
                    parameter->descriptions_.emplace_back(locale,
                                                          std::move(description.get_ref<std::string&>()));
                }
            } else {
                layout_error(source, where() + " has an unknown field \"" + key + "\"");
            }
        }
        book->parameters_.emplace_back(name, std::move(parameter));
    }
    return book;
}

std::string ParameterBook::to_text() const
{
    // One line per parameter part keeps files readable and their diffs small.
    std::string out = "{\n  \"format\": \"" + std::string(FormatName) +
                      "\",\n  \"version\": " + std::to_string(FormatVersion) + ",\n  \"parameters\": {";
    try {
        // Writes straight into `out`, without a string per parameter.
        nlohmann::detail::serializer<Value> writer(nlohmann::detail::output_adapter<char, std::string>(out), ' ');
        bool first = true;
        for (const auto& [name, parameter] : parameters_) {
            out += first ? "\n    " : ",\n    ";
            first = false;
            append_json_string(out, name);
            out += ": {\n      \"descriptions\": {";
            bool first_locale = true;
            for (const auto& [locale, text] : parameter->descriptions_) {
                if (!first_locale) out += ',';
                first_locale = false;
                append_json_string(out, locale);
                out += ':';
                append_json_string(out, text);
            }
            out += "},\n      \"attributes\": ";
            writer.dump(parameter->attributes_, false, false, 0);
            out += "\n    }";
        }
        if (!first) out += "\n  ";
    } catch (const Value::exception& e) {
        throw ParaTreeError("The parameter book cannot be written as JSON: " + json_detail(e));
    }
    out += "}\n}\n";
    return out;
}

void ParameterBook::save(const fs::path& file) const
{
    file_io::StagedFiles staged;
    const std::uint64_t stamp = next_stamp();  // edits made from here on are not in the file
    stage_to(file, staged);
    staged.commit();
    mark_clean(stamp);
}

void ParameterBook::stage_to(const fs::path& file, file_io::StagedFiles& staged) const
{
    std::string text = to_text();  // before the disk is touched: a failure here changes nothing
    fs::path target = file;
    std::error_code ec;
    // Replace the file a link points to, not the link.
    if (fs::is_symlink(fs::symlink_status(file, ec))) target = fs::weakly_canonical(file, ec);
    if (ec && ec != std::errc::no_such_file_or_directory) throw ParaTreeError("Cannot save parameter book `" + file_io::to_text(file) + "`: " + ec.message() + ".");
    if (target.has_parent_path()) {
        fs::create_directories(target.parent_path(), ec);
        if (ec)
            throw ParaTreeError("Cannot save parameter book `" + file_io::to_text(file) + "`: cannot create folder `" +
                                file_io::to_text(target.parent_path()) + "`: " + ec.message() + ".");
    }
    staged.stage(target, text, "parameter book");
}

std::vector<std::pair<std::string, std::shared_ptr<Parameter>>> ParameterBook::items() const { return parameters_; }

std::vector<std::string> ParameterBook::names() const { return detail::names_of(parameters_); }

bool ParameterBook::contains(const std::string& name) const { return get(name) != nullptr; }

std::shared_ptr<Parameter> ParameterBook::get(const std::string& name) const
{
    return detail::find_named(parameters_, name);
}

void ParameterBook::set(const std::string& name, std::shared_ptr<Parameter> parameter)
{
    file_io::require_valid_name(name, "Parameter name");
    if (!parameter) throw ParaTreeError("Parameter `" + name + "` cannot be stored: there is no parameter (null).");
    detail::put_named(parameters_, name, std::move(parameter));
    revision_ = next_stamp();
}

bool ParameterBook::remove(const std::string& name)
{
    if (!detail::erase_named(parameters_, name)) return false;
    revision_ = next_stamp();
    return true;
}

std::size_t ParameterBook::size() const { return parameters_.size(); }

bool ParameterBook::empty() const { return parameters_.empty(); }

std::shared_ptr<ParameterBook> ParameterBook::clone() const
{
    auto copy = std::make_shared<ParameterBook>();
    copy->parameters_.reserve(parameters_.size());
    for (const auto& [name, parameter] : parameters_) copy->parameters_.emplace_back(name, parameter->clone());
    return copy;
}

}  // namespace ovk_paratree
