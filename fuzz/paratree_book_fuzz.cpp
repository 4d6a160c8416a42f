// Feeds arbitrary bytes to the parameter book reader. Every input must either
// be refused with ParaTreeError or read into a book that writes back to text
// which reads again into the same book (same text once more). Anything else
// (a crash, another exception, a sanitizer report, a changed book) is a find.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/paratree/paratree.h"

using namespace ovk_paratree;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::shared_ptr<ParameterBook> book;
    try {
        book = ParameterBook::from_text(bytes, "fuzz input");
    } catch (const ParaTreeError&) {
        return 0;
    }
    const std::string text = book->to_text();
    std::shared_ptr<ParameterBook> again;
    try {
        again = ParameterBook::from_text(text, "written text");
    } catch (const ParaTreeError&) {
        std::abort();  // the writer produced something the reader refuses
    }
    if (again->to_text() != text || again->names() != book->names()) std::abort();
    for (const auto& [name, parameter] : book->items()) {
        const auto other = again->get(name);
        if (other->attributes() != parameter->attributes()) std::abort();
        if (other->all_descriptions() != parameter->all_descriptions()) std::abort();
        for (const auto& [key, value] : parameter->items())
            if (other->get(key).type() != value.type() && !(value.is_number_integer() && other->get(key).is_number_integer()))
                std::abort();
    }
    return 0;
}
