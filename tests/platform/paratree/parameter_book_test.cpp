#include "platform/paratree/paratree.h"

#include <gtest/gtest.h>

#include <csignal>
#include <limits>

#include <sys/resource.h>
#include <sys/stat.h>

#include "tests/platform/paratree/temp_folder.h"

using namespace ovk_paratree;
using ovk_wxtest::message_of;
using ovk_wxtest::TempFolder;

namespace {

std::shared_ptr<ParameterBook> sample_book()
{
    auto book = std::make_shared<ParameterBook>();
    auto p = std::make_shared<Parameter>();
    p->set("int", 42);
    p->set("negative", -7);
    p->set("big", std::numeric_limits<std::uint64_t>::max());
    p->set("real", 1.0);
    p->set("tiny", 5e-324);
    p->set("third", 1.0 / 3.0);
    p->set("text", "多语言 text \"quoted\" \\ \n tab\t");
    p->set("yes", true);
    p->set("no", false);
    p->set("nothing", nullptr);
    p->set("list", Value::array({1, 2.0, "x", Value::array(), Value::object()}));
    p->set("map", Value{{"z", 1}, {"a", Value{{"nested", Value::array({true})}}}});
    p->set_description("en_US", "Speed");
    p->set_description("zh_CN", "速度");
    book->set("speed", p);
    auto q = std::make_shared<Parameter>();
    q->set("v", 0);
    book->set("acceleration", q);
    return book;
}

}  // namespace

TEST(ParameterBook, EveryValueKindComesBackExactly)
{
    TempFolder dir;
    auto book = sample_book();
    const auto file = dir / ("b." + ParameterBook::ExtName);
    book->save(file);
    auto back = ParameterBook::load(file);

    EXPECT_EQ(back->class_name(), "ParameterBook");
    ASSERT_EQ(back->names(), (std::vector<std::string>{"speed", "acceleration"}));
    auto p = book->get("speed");
    auto q = back->get("speed");
    ASSERT_TRUE(q);
    ASSERT_EQ(q->names(), p->names());
    for (const auto& [name, value] : p->items()) {
        const Value& read = q->get(name);
        EXPECT_EQ(read, value) << name;
        EXPECT_EQ(read.is_number_integer(), value.is_number_integer()) << name;
        EXPECT_EQ(read.is_number_float(), value.is_number_float()) << name;
        EXPECT_EQ(read.dump(), value.dump()) << name;  // same text: same kinds, same mapping order
    }
    EXPECT_TRUE(q->get("real").is_number_float());
    EXPECT_TRUE(q->get("int").is_number_integer());
    EXPECT_EQ(q->all_descriptions(), p->all_descriptions());
    EXPECT_EQ(q->get_description("zh_CN"), "速度");

    // Saving what was read gives the same bytes.
    const auto again = dir / "again.pbook";
    back->save(again);
    EXPECT_EQ(ovk_wxtest::read_text(again), ovk_wxtest::read_text(file));
}

TEST(ParameterBook, KeyedAccessAndClone)
{
    auto book = sample_book();
    auto replacement = std::make_shared<Parameter>();
    book->set("speed", replacement);  // replaces in place
    EXPECT_EQ(book->names(), (std::vector<std::string>{"speed", "acceleration"}));
    EXPECT_EQ(book->get("speed"), replacement);
    EXPECT_EQ(book->get("missing"), nullptr);
    EXPECT_THROW(book->set("x", nullptr), ParaTreeError);
    EXPECT_THROW(book->set("a/b", replacement), ParaTreeError);
    EXPECT_THROW(book->set("..", replacement), ParaTreeError);

    auto copy = book->clone();
    EXPECT_NE(copy->get("speed"), replacement);
    copy->get("acceleration")->set("v", 1);
    EXPECT_EQ(book->get("acceleration")->get("v"), Value(0));
    EXPECT_TRUE(book->remove("speed"));
    EXPECT_FALSE(book->remove("speed"));
    EXPECT_EQ(book->size(), 1u);
    EXPECT_EQ(copy->size(), 2u);
}

TEST(ParameterBook, BadFilesGiveOneErrorNamingTheFile)
{
    TempFolder dir;
    auto check = [&](const std::string& name, const std::string& content, const std::string& expected) {
        const auto file = dir / name;
        ovk_wxtest::write_text(file, content);
        const std::string message = message_of([&] { ParameterBook::load(file); });
        EXPECT_NE(message.find(file.string()), std::string::npos) << message;
        EXPECT_NE(message.find(expected), std::string::npos) << message;
    };
    check("empty.pbook", "", "not valid JSON");
    check("broken.pbook", "{\"format\": ", "not valid JSON");
    check("latin1.pbook", "\"caf\xe9\"", "not valid JSON");
    check("cut.pbook", "{ 不是 JSON", "last read: '{ \xEF\xBF\xBD");  // the quote ends inside 不
    check("huge.pbook", R"({"format":"ovk-parameter-book","version":1,"parameters":{"p":{"attributes":{"x":1e999}}}})",
          "not valid JSON");
    check("array.pbook", "[1, 2]", "does not hold a JSON object");
    check("other.pbook", R"({"name": "x"})", "unknown field \"name\"");
    check("format.pbook", R"({"format":"csv","version":1,"parameters":{}})", "\"format\"");
    check("newer.pbook", R"({"format":"ovk-parameter-book","version":2,"parameters":{}})", "newer");
    check("noparams.pbook", R"({"format":"ovk-parameter-book","version":1})", "\"parameters\"");
    check("notmap.pbook", R"({"format":"ovk-parameter-book","version":1,"parameters":{"p":3}})",
          "parameter `p` is not a mapping");
    check("attrs.pbook", R"({"format":"ovk-parameter-book","version":1,"parameters":{"p":{"attributes":[]}}})",
          "\"attributes\" of parameter `p`");
    check("desc.pbook",
          R"({"format":"ovk-parameter-book","version":1,"parameters":{"p":{"descriptions":{"en_US":1}}}})",
          "locale `en_US`");
    std::string deep = R"({"format":"ovk-parameter-book","version":1,"parameters":{"p":{"attributes":{"x":)";
    deep += std::string(100000, '[') + std::string(100000, ']') + "}}}}";
    check("deep.pbook", deep, "nested deeper");

    const std::string missing = message_of([&] { ParameterBook::load(dir / "missing.pbook"); });
    EXPECT_NE(missing.find("missing.pbook"), std::string::npos) << missing;
    EXPECT_NE(missing.find("No such file"), std::string::npos) << missing;
    const std::string folder = message_of([&] { ParameterBook::load(dir.path()); });
    EXPECT_NE(folder.find("directory"), std::string::npos) << folder;
}

TEST(ParameterBook, SomethingThatIsNotAFileIsReported)
{
    TempFolder dir;
    const auto fifo = dir / "pipe.pbook";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string message = message_of([&] { ParameterBook::load(fifo); });
    EXPECT_NE(message.find("pipe.pbook"), std::string::npos) << message;
    EXPECT_NE(message.find("not a regular file"), std::string::npos) << message;
    // A folder load passes such an entry over.
    EXPECT_TRUE(ParameterDirectory::load(dir.path())->empty());
}

TEST(ParameterBook, UnreadableFileIsReported)
{
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    TempFolder dir;
    const auto file = dir / "locked.pbook";
    sample_book()->save(file);
    std::filesystem::permissions(file, std::filesystem::perms::none);
    const std::string message = message_of([&] { ParameterBook::load(file); });
    EXPECT_NE(message.find("locked.pbook"), std::string::npos) << message;
    EXPECT_NE(message.find("Permission denied"), std::string::npos) << message;
}

TEST(ParameterBook, FailedSaveLeavesTheOldFileIntact)
{
    TempFolder dir;
    const auto file = dir / "b.pbook";
    auto small = std::make_shared<ParameterBook>();
    small->set("p", std::make_shared<Parameter>());
    small->save(file);
    const std::string before = ovk_wxtest::read_text(file);

    auto big = std::make_shared<ParameterBook>();
    auto p = std::make_shared<Parameter>();
    p->set("blob", std::string(100000, 'x'));
    big->set("p", p);

    // A file size limit makes the write fail part-way, as a full disk would.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{static_cast<rlim_t>(before.size() + 100), RLIM_INFINITY};
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    const std::string message = message_of([&] { big->save(file); });
    limit.rlim_cur = RLIM_INFINITY;
    ::setrlimit(RLIMIT_FSIZE, &limit);

    EXPECT_NE(message.find("Cannot save parameter book"), std::string::npos) << message;
    EXPECT_NE(message.find(file.string()), std::string::npos) << message;
    EXPECT_EQ(ovk_wxtest::read_text(file), before);
    EXPECT_EQ(ovk_wxtest::listing(dir.path()), (std::set<std::string>{"b.pbook"}));  // no temporary left
    EXPECT_EQ(ParameterBook::load(file)->names(), (std::vector<std::string>{"p"}));
}

TEST(ParameterBook, SaveKeepsPermissionsAndLinksAndCreatesFolders)
{
    TempFolder dir;
    const auto file = dir / "b.pbook";
    sample_book()->save(file);
    std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    sample_book()->save(file);
    EXPECT_EQ(std::filesystem::status(file).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

    const auto link = dir / "link.pbook";
    std::filesystem::create_symlink(file, link);
    auto one = std::make_shared<ParameterBook>();
    one->set("only", std::make_shared<Parameter>());
    one->save(link);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ParameterBook::load(file)->names(), (std::vector<std::string>{"only"}));

    const auto deep = dir / "new" / "folders" / "c.pbook";
    one->save(deep);
    EXPECT_EQ(ParameterBook::load(deep)->size(), 1u);
}

TEST(ParameterBook, FileNamesAndTextsMayBeNonAscii)
{
    TempFolder dir;
    auto book = std::make_shared<ParameterBook>();
    auto p = std::make_shared<Parameter>();
    p->set("单位", "毫米");
    p->set_description("zh_CN", "长度 ✓");
    book->set("长度", p);
    const auto file = dir / "参数.pbook";
    book->save(file);
    auto back = ParameterBook::load(file);
    EXPECT_EQ(back->get("长度")->get("单位"), Value("毫米"));
    EXPECT_EQ(back->get("长度")->get_description("zh_CN"), "长度 ✓");
    // Stored as UTF-8, not as \u escapes.
    EXPECT_NE(ovk_wxtest::read_text(file).find("毫米"), std::string::npos);
}

OVK_MODEL_TEST_MAIN
