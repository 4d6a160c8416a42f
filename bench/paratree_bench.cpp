// Loading and saving a parameter tree of 1,000 books x 100 parameters x 5
// attributes, next to plain nlohmann::ordered_json parse and dump of the same
// book bytes. Model load and save include the file system work (reading 1,000
// files; writing each through a flushed temporary file and a rename); the
// *InMemory rows show the format cost alone, the *Files rows plain JSON with
// plain file reads and writes. FormerFullSave is the whole-tree save as it
// was before the journal; LoadBook* load one book of 1k to 400k parameters
// (linear growth); the last pair saves a 10,000-book tree after one change
// against writing it all.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "platform/paratree/detail/file_io.h"
#include "platform/paratree/paratree.h"

namespace fs = std::filesystem;
using namespace ovk_paratree;

namespace {

constexpr int Books = 1000;
constexpr int ParametersPerBook = 100;

struct Fixture {
    fs::path folder;
    fs::path out_folder;
    std::shared_ptr<ParameterDirectory> tree;
    std::vector<fs::path> files;
    std::vector<std::string> bytes;  // each book file's content
    std::vector<Value> parsed;       // each book file parsed by plain nlohmann

    Fixture()
    {
        std::string pattern = (fs::temp_directory_path() / "ovk_paratree_bench_XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        folder = fs::path(pattern) / "tree";
        out_folder = fs::path(pattern) / "out";
        auto root = std::make_shared<ParameterDirectory>();
        for (int b = 0; b < Books; ++b) {
            auto book = std::make_shared<ParameterBook>();
            for (int p = 0; p < ParametersPerBook; ++p) {
                auto parameter = std::make_shared<Parameter>();
                parameter->set("value", p * 10 + b);
                parameter->set("scale", 0.001 * (p + 1));
                parameter->set("unit", "mm/s");
                parameter->set("enabled", p % 2 == 0);
                parameter->set("range", Value::array({-p, p * 2}));
                parameter->set_description("en_US", "Parameter number " + std::to_string(p));
                parameter->set_description("zh_CN", "参数 " + std::to_string(p));
                book->set("param_" + std::to_string(p), parameter);
            }
            root->set("book_" + std::to_string(b), book);
        }
        root->save(folder);
        tree = ParameterDirectory::load(folder);
        for (const auto& [name, child] : tree->items()) {
            files.push_back(folder / (name + "." + ParameterBook::ExtName));
            std::ifstream in(files.back(), std::ios::binary);
            bytes.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            parsed.push_back(Value::parse(bytes.back()));
        }
    }
    ~Fixture() { fs::remove_all(folder.parent_path()); }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

std::size_t total_bytes()
{
    std::size_t n = 0;
    for (const auto& b : fixture().bytes) n += b.size();
    return n;
}

void PlainParse(benchmark::State& state)
{
    auto& f = fixture();
    for (auto _ : state)
        for (const auto& b : f.bytes) benchmark::DoNotOptimize(Value::parse(b));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * total_bytes()));
}

void PlainReadAndParseFiles(benchmark::State& state)
{
    auto& f = fixture();
    for (auto _ : state)
        for (const auto& file : f.files) {
            std::ifstream in(file, std::ios::binary);
            std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            benchmark::DoNotOptimize(Value::parse(text));
        }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * total_bytes()));
}

void ModelLoad(benchmark::State& state)
{
    auto& f = fixture();
    for (auto _ : state) benchmark::DoNotOptimize(ParameterDirectory::load(f.folder));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * total_bytes()));
}

void ModelParseInMemory(benchmark::State& state)
{
    auto& f = fixture();
    for (auto _ : state)
        for (const auto& b : f.bytes) benchmark::DoNotOptimize(ParameterBook::from_text(b));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * total_bytes()));
}

void PlainDump(benchmark::State& state)
{
    auto& f = fixture();
    for (auto _ : state)
        for (const auto& doc : f.parsed) benchmark::DoNotOptimize(doc.dump());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * total_bytes()));
}

void PlainDumpAndWriteFiles(benchmark::State& state)
{
    auto& f = fixture();
    const fs::path out = f.out_folder.parent_path() / "plain";
    fs::create_directories(out);
    for (auto _ : state)
        for (std::size_t i = 0; i < f.parsed.size(); ++i) {
            std::ofstream file(out / f.files[i].filename(), std::ios::binary | std::ios::trunc);
            file << f.parsed[i].dump();
        }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * total_bytes()));
}

void ModelSave(benchmark::State& state)
{
    auto& f = fixture();
    for (auto _ : state) f.tree->save(f.out_folder);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * total_bytes()));
}

void ModelWriteInMemory(benchmark::State& state)
{
    auto& f = fixture();
    for (auto _ : state)
        for (const auto& [name, child] : f.tree->items())
            benchmark::DoNotOptimize(std::static_pointer_cast<ParameterBook>(child)->to_text());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * total_bytes()));
}

// The whole-tree save as it was before saves became journalled transactions:
// every book staged and flushed, then renamed in place (no lock, no journal,
// no check of what changed). The yardstick for ModelSave.
void FormerFullSave(benchmark::State& state)
{
    auto& f = fixture();
    const fs::path out = f.out_folder.parent_path() / "former";
    for (auto _ : state) {
        file_io::StagedFiles staged;
        fs::create_directories(out);
        for (const auto& [name, child] : f.tree->items())
            staged.stage(out / (name + "." + ParameterBook::ExtName),
                         std::static_pointer_cast<ParameterBook>(child)->to_text(), "parameter book");
        staged.commit();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * total_bytes()));
}

// ---- one book of N parameters: loading must grow linearly with N ----

std::string book_of(int parameters)
{
    auto book = std::make_shared<ParameterBook>();
    for (int p = 0; p < parameters; ++p) {
        auto parameter = std::make_shared<Parameter>();
        parameter->set("value", p);
        parameter->set("scale", 0.001 * (p + 1));
        parameter->set("unit", "mm/s");
        parameter->set("range", Value::array({-p, p * 2}));
        parameter->set("limits", Value{{"min", -p}, {"max", p}, {"note", "从 0 开始"}});
        parameter->set_description("en_US", "Parameter number " + std::to_string(p) + " of a long book");
        parameter->set_description("zh_CN", "参数 " + std::to_string(p));
        book->set("param_" + std::to_string(p), parameter);
    }
    return book->to_text();
}

const std::string& book_text(int parameters)
{
    static std::map<int, std::string> texts;
    auto& text = texts[parameters];
    if (text.empty()) text = book_of(parameters);
    return text;
}

void LoadBookModel(benchmark::State& state)
{
    const std::string& text = book_text(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(ParameterBook::from_text(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

// Plain nlohmann::json (std::map objects), not ordered_json, whose object
// inserts are linear searches.
void LoadBookPlainJson(benchmark::State& state)
{
    const std::string& text = book_text(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(nlohmann::json::parse(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

// ---- a 10,000-book tree: one changed parameter against a full save ----

struct WideTree {
    fs::path base;
    std::shared_ptr<ParameterDirectory> tree;
    WideTree()
    {
        std::string pattern = (fs::temp_directory_path() / "ovk_paratree_wide_XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        base = pattern;
        auto root = std::make_shared<ParameterDirectory>();
        for (int g = 0; g < 100; ++g) {
            auto group = std::make_shared<ParameterDirectory>();
            for (int b = 0; b < 100; ++b) {
                auto book = std::make_shared<ParameterBook>();
                for (int p = 0; p < 20; ++p) {
                    auto parameter = std::make_shared<Parameter>();
                    parameter->set("value", p * 10 + b);
                    parameter->set("unit", "mm/s");
                    parameter->set("range", Value::array({-p, p * 2}));
                    parameter->set_description("zh_CN", "参数 " + std::to_string(p));
                    book->set("param_" + std::to_string(p), parameter);
                }
                group->set("book_" + std::to_string(b), book);
            }
            root->set("group_" + std::to_string(g), group);
        }
        root->save(base / "home");
        tree = ParameterDirectory::load(base / "home");
    }
    ~WideTree() { fs::remove_all(base); }
};

WideTree& wide()
{
    static WideTree w;
    return w;
}

void SaveOneChangedBookOf10000(benchmark::State& state)
{
    auto& w = wide();
    auto parameter = w.tree->get_directory("group_42")->get_book("book_7")->get("param_3");
    int n = 0;
    for (auto _ : state) {
        parameter->set("value", ++n);
        w.tree->save(w.base / "home");
    }
}

void SaveAllOf10000(benchmark::State& state)
{
    auto& w = wide();
    for (auto _ : state) w.tree->save(w.base / "copy");  // elsewhere: every book is written
}

}  // namespace

BENCHMARK(LoadBookPlainJson)->Arg(1000)->Arg(10000)->Arg(100000)->Arg(400000)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadBookModel)->Arg(1000)->Arg(10000)->Arg(100000)->Arg(400000)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveOneChangedBookOf10000)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(SaveAllOf10000)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(FormerFullSave)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(PlainParse)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(ModelParseInMemory)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(PlainReadAndParseFiles)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(ModelLoad)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(PlainDump)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(ModelWriteInMemory)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(PlainDumpAndWriteFiles)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(ModelSave)->Unit(benchmark::kMillisecond)->MinTime(2.0);
