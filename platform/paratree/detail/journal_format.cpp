#include "platform/paratree/detail/journal_format.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "platform/paratree/detail/file_io.h"
#include "platform/paratree/para_tree_error.h"

namespace ovk_paratree::file_io {

namespace {

constexpr std::string_view Header1 = "ovk-tree-journal 1\n";
constexpr std::string_view Header2 = "ovk-tree-journal 2\n";

constexpr std::array<std::uint32_t, 256> crc_table()
{
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0x82F63B78u : c >> 1;
        table[i] = c;
    }
    return table;
}
constexpr auto CrcTable = crc_table();

std::string hex(std::uint64_t value, int digits)
{
    char buf[17];
    std::snprintf(buf, sizeof buf, "%0*llx", digits, static_cast<unsigned long long>(value));
    return buf;
}

void put_text(std::string& out, const std::string& text)
{
    out += std::to_string(text.size());
    out += ':';
    out += text;
}

// Reads a journal record by record; every read failure is the one error.
class Reader {
public:
    Reader(std::string_view text, const std::filesystem::path& file) : text_(text), file_(file) {}

    ParaTreeError bad() const
    {
        return ParaTreeError("The journal `" + to_text(file_) + "` of an interrupted save into `" +
                             to_text(file_.parent_path()) +
                             "` is damaged (it fails its checksums); nothing was changed. The folder needs "
                             "checking by hand: compare it with a backup, then delete the journal.");
    }
    bool at_end() const { return pos_ == text_.size(); }
    std::size_t pos() const { return pos_; }
    bool next_is(std::string_view word) const { return text_.substr(pos_).starts_with(word); }
    char byte()
    {
        if (pos_ >= text_.size()) throw bad();
        return text_[pos_++];
    }
    void expect(char c)
    {
        if (byte() != c) throw bad();
    }
    std::uint64_t number(int base = 10)
    {
        std::uint64_t value = 0;
        const char* first = text_.data() + pos_;
        const auto [end, ec] = std::from_chars(first, text_.data() + text_.size(), value, base);
        if (ec != std::errc() || end == first) throw bad();
        pos_ += static_cast<std::size_t>(end - first);
        return value;
    }
    std::string text()
    {
        const std::uint64_t n = number();
        expect(':');
        if (n > text_.size() - pos_) throw bad();
        std::string out(text_.substr(pos_, n));
        pos_ += n;
        return out;
    }
    std::string_view span(std::size_t from) const { return text_.substr(from, pos_ - from); }

private:
    std::string_view text_;
    const std::filesystem::path& file_;
    std::size_t pos_ = 0;
};

bool moves_content(char kind) { return kind == JournalStep::Move || kind == JournalStep::MoveThroughLink; }

std::vector<JournalStep> parse_version1(const std::string& text, const Reader& reader)
{
    std::vector<JournalStep> steps;
    std::size_t pos = Header1.size();
    while (pos < text.size()) {
        const std::size_t end = text.find('\n', pos);
        if (end == std::string::npos) throw reader.bad();
        const std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        if (line.starts_with("end ")) {
            if (line != "end " + std::to_string(steps.size()) || pos != text.size()) throw reader.bad();
            return steps;
        }
        if (line.size() < 3 || line[1] != '\t' || std::string_view("MRUD").find(line[0]) == std::string_view::npos)
            throw reader.bad();
        JournalStep s{static_cast<JournalStep::Kind>(line[0]), line.substr(2), {}};
        if (s.kind == JournalStep::Move) {
            const auto tab = s.path.find('\t');
            if (tab == std::string::npos) throw reader.bad();
            s.from = s.path.substr(tab + 1);
            s.path.resize(tab);
        }
        steps.push_back(std::move(s));
    }
    throw reader.bad();
}

}  // namespace

std::uint32_t crc32c(std::string_view data, std::uint32_t crc)
{
    crc = ~crc;
    for (unsigned char c : data) crc = CrcTable[(crc ^ c) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::uint64_t content_hash(std::string_view data)
{
    constexpr std::uint64_t K = 0x9E3779B97F4A7C15ull, M = 0xFF51AFD7ED558CCDull;
    std::uint64_t h = K ^ data.size();
    std::size_t i = 0;
    for (; i + 8 <= data.size(); i += 8) {
        std::uint64_t w;
        std::memcpy(&w, data.data() + i, 8);
        h = (h ^ w) * M;
        h ^= h >> 29;
    }
    std::uint64_t tail = 0;
    for (std::size_t k = 0; i + k < data.size(); ++k)
        tail |= std::uint64_t(static_cast<unsigned char>(data[i + k])) << (8 * k);
    h = (h ^ tail) * M;
    h ^= h >> 32;
    h *= K;
    return h ^ (h >> 29);
}

std::string serialise_journal(const std::vector<JournalStep>& steps)
{
    std::string out(Header2);
    out.reserve(64 * steps.size() + 64);
    for (const auto& s : steps) {
        const std::size_t start = out.size();
        out += static_cast<char>(s.kind);
        out += ' ';
        out += std::to_string(s.size);
        out += ' ';
        out += hex(s.hash, 16);
        out += ' ';
        put_text(out, s.path);
        out += ' ';
        put_text(out, s.from);
        const std::uint32_t crc = crc32c(std::string_view(out).substr(start));
        out += ' ';
        out += hex(crc, 8);
        out += '\n';
    }
    out += "end " + std::to_string(steps.size()) + " " + hex(crc32c(out), 8) + "\n";
    return out;
}

std::vector<JournalStep> parse_journal(const std::string& text, const std::filesystem::path& file)
{
    Reader in(text, file);
    if (text.starts_with(Header1)) return parse_version1(text, in);
    if (!text.starts_with(Header2)) throw in.bad();
    for (std::size_t i = 0; i < Header2.size(); ++i) in.byte();
    std::vector<JournalStep> steps;
    while (!in.next_is("end ")) {
        const std::size_t start = in.pos();
        JournalStep s{static_cast<JournalStep::Kind>(in.byte()), {}, {}};
        if (std::string_view("RFLUD").find(s.kind) == std::string_view::npos) throw in.bad();
        in.expect(' ');
        s.size = in.number();
        in.expect(' ');
        s.hash = in.number(16);
        in.expect(' ');
        s.path = in.text();
        in.expect(' ');
        s.from = in.text();
        const std::uint32_t crc = crc32c(in.span(start));
        in.expect(' ');
        if (in.number(16) != crc) throw in.bad();
        in.expect('\n');
        if (s.path.empty() || (moves_content(s.kind) || s.kind == JournalStep::MoveFolder) == s.from.empty())
            throw in.bad();
        steps.push_back(std::move(s));
    }
    const std::uint32_t crc = crc32c(in.span(0));
    for (int i = 0; i < 4; ++i) in.byte();
    if (in.number() != steps.size()) throw in.bad();
    in.expect(' ');
    if (in.number(16) != crc) throw in.bad();
    in.expect('\n');
    if (!in.at_end()) throw in.bad();
    return steps;
}

}  // namespace ovk_paratree::file_io
