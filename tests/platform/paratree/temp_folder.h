#pragma once
// A fresh folder under the system temporary folder for one test, removed with
// everything in it when the test ends; plus small file helpers.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <iterator>
#include <set>
#include <string>

#include "platform/paratree/para_tree_error.h"
#include "platform/paratree/parameter_book.h"

namespace ovk_wxtest {

class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "ovk_paratree_XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

inline void write_text(const std::filesystem::path& file, const std::string& text)
{
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out << text;
}

inline std::string read_text(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every path below `root`, relative to it, as text (folders end with '/');
// without the save generation a saved tree keeps in its folder.
inline std::set<std::string> listing(const std::filesystem::path& root)
{
    std::set<std::string> out;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        std::string rel = std::filesystem::relative(entry.path(), root).string();
        if (rel == ".ovk~gen") continue;
        if (entry.is_directory() && !entry.is_symlink()) rel += '/';
        out.insert(rel);
    }
    return out;
}

// A book holding one parameter whose attribute "value" is `value`.
inline std::shared_ptr<ovk_paratree::ParameterBook> book_with(const std::string& parameter, ovk_paratree::Value value)
{
    auto book = std::make_shared<ovk_paratree::ParameterBook>();
    auto p = std::make_shared<ovk_paratree::Parameter>();
    p->set("value", std::move(value));
    book->set(parameter, p);
    return book;
}

// The message of the model error `f` throws, or "(no error)".
inline std::string message_of(const std::function<void()>& f)
{
    try {
        f();
    } catch (const ovk_paratree::ParaTreeError& e) {
        return e.what();
    }
    return "(no error)";
}

}  // namespace ovk_wxtest

// The model does not use the toolkit, so its test programs bring their own
// main and run without a display.
#define OVK_MODEL_TEST_MAIN                             \
    int main(int argc, char** argv)                     \
    {                                                   \
        ::testing::InitGoogleTest(&argc, argv);         \
        return RUN_ALL_TESTS();                         \
    }
